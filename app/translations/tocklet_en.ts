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
        <source>Esc:タイトルへ&#x3000;P:一時停止&#x3000;F1:バージョン情報</source>
        <translation>Esc: title   P: pause   F1: version</translation>
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
        <source>クリック・Esc・R でタイトルへ</source>
        <translation>Click, Esc or R: back to the title</translation>
    </message>
    <message>
        <source>[時間:%1秒]</source>
        <translation>[Time: %1 s]</translation>
    </message>
    <message>
        <source>キーでも：矢印で狙い Enterで支点 矢印で運び Enterで放す</source>
        <translation>Keys: arrows aim, Enter hangs, arrows carry, Enter lets go</translation>
    </message>
</context>
</TS>
