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
        <source>一時停止</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>再開</source>
        <translation>Resumed</translation>
    </message>
    <message>
        <source>この記録にはリプレイがありません</source>
        <translation>This record has no replay</translation>
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
        <source>おもりが消えた&#x3000;残り%1個</source>
        <translation>A weight is gone, %1 left</translation>
    </message>
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
        <source>%1&#x3000;揺れているおもり%2個、影%3個</source>
        <translation>%1  %2 weights swinging, %3 shadows</translation>
    </message>
    <message>
        <source>、リプレイあり</source>
        <translation>, has a replay</translation>
    </message>
</context>
</TS>
