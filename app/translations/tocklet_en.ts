<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Tockletのﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About Tocklet</translation>
    </message>
    <message>
        <source>ドラッグでおもりを揺らそう</source>
        <translation>Drag to swing a weight</translation>
    </message>
    <message>
        <source>M:サウンド オン/オフ</source>
        <translation>M: sound on/off</translation>
    </message>
</context>
<context>
    <name>MainDialog</name>
    <message>
        <source>Tocklet のﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About Tocklet...</translation>
    </message>
    <message>
        <source>トクレット</source>
        <translation>Tocklet</translation>
    </message>
    <message>
        <source>ベストタイム:%1秒</source>
        <translation>Best time: %1 s</translation>
    </message>
    <message>
        <source>★新記録★&#x3000;今回のタイム:%1秒</source>
        <translation>★New record★  This game: %1 s</translation>
    </message>
    <message>
        <source>今回のタイム:%1秒</source>
        <translation>This game: %1 s</translation>
    </message>
    <message>
        <source>%1&#x3000;※未保存</source>
        <translation>%1 (not saved)</translation>
    </message>
    <message>
        <source>この記録にはリプレイがありません</source>
        <translation>This record has no replay</translation>
    </message>
</context>
<context>
    <name>ReaderWords</name>
    <message>
        <source>左上</source>
        <translation>top left</translation>
    </message>
    <message>
        <source>上</source>
        <translation>top</translation>
    </message>
    <message>
        <source>右上</source>
        <translation>top right</translation>
    </message>
    <message>
        <source>左</source>
        <translation>left</translation>
    </message>
    <message>
        <source>中央</source>
        <translation>centre</translation>
    </message>
    <message>
        <source>右</source>
        <translation>right</translation>
    </message>
    <message>
        <source>左下</source>
        <translation>bottom left</translation>
    </message>
    <message>
        <source>下</source>
        <translation>bottom</translation>
    </message>
    <message>
        <source>右下</source>
        <translation>bottom right</translation>
    </message>
    <message>
        <source>%1&#x3000;揺れているおもり%2個、影%3個</source>
        <translation>%1  %2 weights swinging, %3 shadows</translation>
    </message>
    <message>
        <source>、運んでいるおもり%1個</source>
        <translation>, %1 weight carried</translation>
    </message>
    <message>
        <source>、いちばん近い影はおもりまで%1ピクセル</source>
        <translation>, nearest shadow %1 px from a weight</translation>
    </message>
    <message>
        <source>%1、端</source>
        <translation>%1, edge</translation>
    </message>
    <message>
        <source>支点&#x3000;%1</source>
        <translation>anchor, %1</translation>
    </message>
    <message>
        <source>%1&#x3000;ロープ%2</source>
        <translation>%1, rope %2</translation>
    </message>
    <message>
        <source>放した&#x3000;ロープ%1</source>
        <translation>let go, rope %1</translation>
    </message>
    <message>
        <source>落とした</source>
        <translation>dropped</translation>
    </message>
    <message>
        <source>おもりが場外に消えた&#x3000;残り%1個</source>
        <translation>A weight left the field, %1 left</translation>
    </message>
    <message>
        <source>影がおもりを消した&#x3000;残り%1個</source>
        <translation>A shadow took a weight, %1 left</translation>
    </message>
    <message>
        <source>&#x3000;記録%1位</source>
        <translation>, place %1 in the records</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>再開</source>
        <translation>Resumed</translation>
    </message>
    <message>
        <source>ベストタイム：記録なし</source>
        <translation>Best time: no record yet</translation>
    </message>
    <message>
        <source>矢印で狙い、エンターで支点、矢印で運び、エンターで放す。影をよけよう。</source>
        <translation>Arrows aim, Enter anchors, arrows carry, Enter lets go. Keep weights from shadows.</translation>
    </message>
    <message>
        <source>%1位：空き</source>
        <translation>Place %1: empty</translation>
    </message>
    <message>
        <source>%1位：%2秒、おもり%3個</source>
        <translation>Place %1: %2 seconds, %3 weights</translation>
    </message>
    <message>
        <source>、今回の最後のゲーム</source>
        <translation>, this run&apos;s last game</translation>
    </message>
    <message>
        <source>、リプレイあり</source>
        <translation>, has a replay</translation>
    </message>
</context>
<context>
    <name>ReplayThread</name>
    <message>
        <source>リプレイ %1位</source>
        <translation>Replay: place %1</translation>
    </message>
    <message>
        <source>このリプレイはこの版のゲームと合いません</source>
        <translation>This replay does not match this version of the game</translation>
    </message>
    <message>
        <source>スコア:%1</source>
        <translation>Score: %1</translation>
    </message>
    <message>
        <source>%1を再生&#x3000;P:一時停止&#x3000;→←:速さ&#x3000;Esc:記録へ</source>
        <translation>%1   P: pause   Right/Left: pace   Esc: records</translation>
    </message>
    <message>
        <source>速さ×%1</source>
        <translation>Pace x%1</translation>
    </message>
</context>
<context>
    <name>Tocklet</name>
    <message>
        <source>ドラッグでおもりを揺らそう</source>
        <translation>Drag to set a weight swinging</translation>
    </message>
    <message>
        <source>影に触れたおもりは消える&#x3000;全部消えたらゲームオーバー</source>
        <translation>Shadows swallow weights; when none is left, game over</translation>
    </message>
    <message>
        <source>Esc:タイトルへ&#x3000;P:一時停止&#x3000;M:音&#x3000;F1:バージョン情報</source>
        <translation>Esc: title   P: pause   M: sound   F1: version</translation>
    </message>
    <message>
        <source>記録</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>順位</source>
        <translation>Rank</translation>
    </message>
    <message>
        <source>タイム</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>スコア</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>%1秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>（空き）</source>
        <translation>(empty)</translation>
    </message>
    <message>
        <source>[時間:%1秒]</source>
        <translation>[Time: %1 s]</translation>
    </message>
    <message>
        <source>キーでも：矢印で狙い Enterで支点 矢印で運び Enterで放す</source>
        <translation>Keys: arrows aim, Enter hangs, arrows carry, Enter lets go</translation>
    </message>
    <message>
        <source>サウンド オン</source>
        <translation>Sound on</translation>
    </message>
    <message>
        <source>サウンド オフ</source>
        <translation>Sound off</translation>
    </message>
    <message>
        <source>↑↓で選び Enter・クリックで▶を再生</source>
        <translation>Up/Down and Enter, or a click, play ▶</translation>
    </message>
    <message>
        <source>Esc・R・行の外をクリックでタイトルへ</source>
        <translation>Esc, R or a click beside the rows: title</translation>
    </message>
</context>
<context>
    <name>WindowAccessible</name>
    <message>
        <source>ゲームを始める</source>
        <translation>Start a game</translation>
    </message>
    <message>
        <source>記録を見る</source>
        <translation>Read the records</translation>
    </message>
    <message>
        <source>終了する</source>
        <translation>Leave the program</translation>
    </message>
    <message>
        <source>記録</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>フィールド</source>
        <translation>Field</translation>
    </message>
</context>
</TS>
