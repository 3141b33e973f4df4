<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>host::CClientWindow</name>
    <message>
        <source>Another user &amp;invites me</source>
        <translation>其他用户邀请我(&amp;I)</translation>
    </message>
    <message>
        <source>Another user invites me (&amp;XML)</source>
        <translation>其他用户邀请我(XML)(&amp;X)</translation>
    </message>
    <message>
        <source>Someone asks to &amp;join my group</source>
        <translation>有人申请加入我的群组(&amp;J)</translation>
    </message>
    <message>
        <source>Someone writes in a &amp;group</source>
        <translation>有人在群组中发言(&amp;G)</translation>
    </message>
    <message>
        <source>A member&apos;s &amp;presence changes</source>
        <translation>成员的在线状态变化(&amp;P)</translation>
    </message>
    <message>
        <source>A &amp;member joins a group</source>
        <translation>有成员加入群组(&amp;M)</translation>
    </message>
    <message>
        <source>A member &amp;leaves a group</source>
        <translation>有成员退出群组(&amp;L)</translation>
    </message>
    <message>
        <source>The owner &amp;deletes a group</source>
        <translation>群主删除群组(&amp;D)</translation>
    </message>
    <message>
        <source>The owner &amp;removes me</source>
        <translation>群主将我移出群组(&amp;R)</translation>
    </message>
    <message>
        <source>The owner &amp;offers me a group</source>
        <translation>群主向我转让群组(&amp;O)</translation>
    </message>
    <message>
        <source>The owner &amp;withdraws the offer</source>
        <translation>群主撤回转让(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Sign in again</source>
        <translation>重新登录(&amp;S)</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>群组</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>日志</translation>
    </message>
    <message>
        <source>&amp;Conversation of the selected group</source>
        <translation>所选群组的会话(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Search groups...</source>
        <translation>搜索群组(&amp;S)...</translation>
    </message>
    <message>
        <source>&amp;Blacklist of the selected group...</source>
        <translation>所选群组的黑名单(&amp;B)...</translation>
    </message>
    <message>
        <source>&amp;Transfer the group to the selected member...</source>
        <translation>将群组转让给所选成员(&amp;W)...</translation>
    </message>
    <message>
        <source>&amp;Groups</source>
        <translation>群组(&amp;G)</translation>
    </message>
    <message>
        <source>&amp;Network</source>
        <translation>网络(&amp;N)</translation>
    </message>
    <message>
        <source>Other &amp;users</source>
        <translation>其他用户(&amp;U)</translation>
    </message>
    <message>
        <source>The &amp;server</source>
        <translation>服务器(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Test switches</source>
        <translation>测试开关(&amp;T)</translation>
    </message>
    <message>
        <source>The server &amp;answers requests</source>
        <translation>服务器应答请求(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Fail the next request</source>
        <translation>下一个请求失败(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>查看(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Show the group window</source>
        <translation>显示群组窗口(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Hide the group window</source>
        <translation>隐藏群组窗口(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;Log</source>
        <translation>日志(&amp;L)</translation>
    </message>
    <message>
        <source>Server answers requests</source>
        <translation>服务器应答请求</translation>
    </message>
    <message>
        <source>Server does not answer</source>
        <translation>服务器不应答</translation>
    </message>
    <message>
        <source>the next request fails with %1</source>
        <translation>下一个请求将以 %1 失败</translation>
    </message>
    <message numerus="yes">
        <source>%n answer(s) on the way</source>
        <translation>
            <numerusform>%n 个应答在途中</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;History of the selected group...</source>
        <translation>所选群组的历史消息(&amp;H)...</translation>
    </message>
</context>
</TS>
