<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CInputTextDialog</name>
    <message>
        <source>InputText</source>
        <translation>Input Text</translation>
    </message>
    <message>
        <source>Input Text:</source>
        <translation>Input Text:</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>CRichMsgEdit</name>
    <message>
        <source>RTF File (*.RTF);;Text File (*.TXT)</source>
        <translation>RTF File (*.RTF);;Text File (*.TXT)</translation>
    </message>
</context>
<context>
    <name>CTarvolanBlackListDialog</name>
    <message>
        <source>黑白名单维护</source>
        <translation>Blacklist and whitelist</translation>
    </message>
    <message>
        <source>群组名：</source>
        <translation>Group name:</translation>
    </message>
    <message>
        <source>黑名单:</source>
        <translation>Blacklist:</translation>
    </message>
    <message>
        <source>新增</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>白名单:</source>
        <translation>Whitelist:</translation>
    </message>
    <message>
        <source>%1：</source>
        <translation>%1:</translation>
    </message>
</context>
<context>
    <name>CTarvolanChatDialog</name>
    <message>
        <source>群组会话</source>
        <translation>Group chat</translation>
    </message>
    <message>
        <source>群组名</source>
        <translation>Group name</translation>
    </message>
    <message>
        <source>会话记录</source>
        <translation>Conversation</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>A</source>
        <translation>A</translation>
    </message>
    <message>
        <source>表情</source>
        <translation>Emoticons</translation>
    </message>
    <message>
        <source>消息输入</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>查看历史消息</source>
        <translation>View message history</translation>
    </message>
    <message>
        <source>发送(&amp;S)</source>
        <translation>&amp;Send</translation>
    </message>
    <message>
        <source>群组成员</source>
        <translation>Group members</translation>
    </message>
</context>
<context>
    <name>CTarvolanCreateDialog</name>
    <message>
        <source>创建群组</source>
        <translation>Create group</translation>
    </message>
    <message>
        <source>群组名:</source>
        <translation>Group name:</translation>
    </message>
    <message>
        <source>我在公共群组中的显示名：</source>
        <translation>My display name:</translation>
    </message>
    <message>
        <source>群组主题:</source>
        <translation>Subject:</translation>
    </message>
    <message>
        <source>群组公告:</source>
        <translation>Bulletin:</translation>
    </message>
    <message>
        <source>允许最大成员数：</source>
        <translation>Maximum members:</translation>
    </message>
    <message>
        <source>群组的可见性：</source>
        <translation>Visible to:</translation>
    </message>
    <message>
        <source>管理员可见</source>
        <translation>Administrators</translation>
    </message>
    <message>
        <source>成员可见</source>
        <translation>Members</translation>
    </message>
    <message>
        <source>所有人可见</source>
        <translation>Everyone</translation>
    </message>
    <message>
        <source>对加入本群组的请求的处理方式：</source>
        <translation>Requests to join:</translation>
    </message>
    <message>
        <source>自动接受</source>
        <translation>Accept automatically</translation>
    </message>
    <message>
        <source>需要确认</source>
        <translation>Require confirmation</translation>
    </message>
    <message>
        <source>群组成活时长：</source>
        <translation>Group lifetime:</translation>
    </message>
    <message>
        <source>须经管理员审批才可加入</source>
        <translation>Joining needs the administrator&apos;s approval</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>CTarvolanDialog</name>
    <message>
        <source>创建群组</source>
        <translation>Create group</translation>
    </message>
    <message>
        <source>增加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除群组</source>
        <translation>Delete group</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>编辑群组</source>
        <translation>Edit group</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>群组</source>
        <translation>Groups</translation>
    </message>
</context>
<context>
    <name>CTarvolanHistoryDialog</name>
    <message>
        <source>群组历史消息</source>
        <translation>Group message history</translation>
    </message>
    <message>
        <source>群组名：</source>
        <translation>Group name:</translation>
    </message>
    <message>
        <source>消息列表</source>
        <translation>Messages</translation>
    </message>
    <message>
        <source>消息内容：</source>
        <translation>Message:</translation>
    </message>
    <message>
        <source>上一页(&amp;P)</source>
        <translation>&amp;Previous page</translation>
    </message>
    <message>
        <source>下一页(&amp;N)</source>
        <translation>&amp;Next page</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>CTarvolanInfoDialog</name>
    <message>
        <source>群组信息</source>
        <translation>Group information</translation>
    </message>
    <message>
        <source>其他人创建的群组列表:</source>
        <translation>Groups created by others:</translation>
    </message>
    <message>
        <source>上一页</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>下一页</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>在该群组中我的显示名:</source>
        <translation>My display name in the group:</translation>
    </message>
    <message>
        <source>申请加入</source>
        <translation>Apply to join</translation>
    </message>
    <message>
        <source>群组详细信息（查询结果）：</source>
        <translation>Group details (query result):</translation>
    </message>
    <message>
        <source>群组名:</source>
        <translation>Group name:</translation>
    </message>
    <message>
        <source>创建者:</source>
        <translation>Creator:</translation>
    </message>
    <message>
        <source>所有者:</source>
        <translation>Owner:</translation>
    </message>
    <message>
        <source>创建时间:</source>
        <translation>Created:</translation>
    </message>
    <message>
        <source>最大成员数:</source>
        <translation>Maximum members:</translation>
    </message>
    <message>
        <source>群组主题:</source>
        <translation>Subject:</translation>
    </message>
    <message>
        <source>群组公告:</source>
        <translation>Bulletin:</translation>
    </message>
    <message>
        <source>可见范围:</source>
        <translation>Visible to:</translation>
    </message>
    <message>
        <source>管理员可见</source>
        <translation>Administrators</translation>
    </message>
    <message>
        <source>成员可见</source>
        <translation>Members</translation>
    </message>
    <message>
        <source>全部可见</source>
        <translation>Everyone</translation>
    </message>
    <message>
        <source>加入方式:</source>
        <translation>Joining:</translation>
    </message>
    <message>
        <source>自动接受</source>
        <translation>Accept automatically</translation>
    </message>
    <message>
        <source>需要确认</source>
        <translation>Require confirmation</translation>
    </message>
    <message>
        <source>群组成员：</source>
        <translation>Group members:</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Query</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>CTarvolanInviteDialog</name>
    <message>
        <source>邀请某人</source>
        <translation>Invite someone</translation>
    </message>
    <message>
        <source>被邀请人帐号：</source>
        <translation>Account to invite:</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>帐号 &quot;%1&quot; 长度不能大于 64 字节.</source>
        <translation>The account &quot;%1&quot; may not be longer than 64 bytes.</translation>
    </message>
</context>
<context>
    <name>CTarvolanModule</name>
    <message>
        <source>系统资源不足,请关闭并重新启动客户端。</source>
        <translation>The system is low on resources. Please close and restart the client.</translation>
    </message>
</context>
<context>
    <name>CTarvolanPropertyDialog</name>
    <message>
        <source>群组属性</source>
        <translation>Group properties</translation>
    </message>
    <message>
        <source>群组名：</source>
        <translation>Group name:</translation>
    </message>
    <message>
        <source>我在群组中的角色：</source>
        <translation>My role in the group:</translation>
    </message>
    <message>
        <source>创建者</source>
        <translation>Creator</translation>
    </message>
    <message>
        <source>成员</source>
        <translation>Member</translation>
    </message>
    <message>
        <source>群组的创建者：</source>
        <translation>Creator:</translation>
    </message>
    <message>
        <source>群组的所有者：</source>
        <translation>Owner:</translation>
    </message>
    <message>
        <source>我在群组中的显示名：</source>
        <translation>My display name:</translation>
    </message>
    <message>
        <source>群组主题:</source>
        <translation>Subject:</translation>
    </message>
    <message>
        <source>群组公告:</source>
        <translation>Bulletin:</translation>
    </message>
    <message>
        <source>群组的可见性：</source>
        <translation>Visible to:</translation>
    </message>
    <message>
        <source>管理员可见</source>
        <translation>Administrators</translation>
    </message>
    <message>
        <source>成员可见</source>
        <translation>Members</translation>
    </message>
    <message>
        <source>所有人可见</source>
        <translation>Everyone</translation>
    </message>
    <message>
        <source>对加入本群组的请求处理方式：</source>
        <translation>Requests to join:</translation>
    </message>
    <message>
        <source>自动接受</source>
        <translation>Accept automatically</translation>
    </message>
    <message>
        <source>需要确认</source>
        <translation>Require confirmation</translation>
    </message>
    <message>
        <source>最大成员数：</source>
        <translation>Maximum members:</translation>
    </message>
    <message>
        <source>群组成活时长：</source>
        <translation>Group lifetime:</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>CTarvolanSearchDialog</name>
    <message>
        <source>搜索群组</source>
        <translation>Search groups</translation>
    </message>
    <message>
        <source>群组名(关键字):</source>
        <translation>Group name (keyword):</translation>
    </message>
    <message>
        <source>群组名(关键字)</source>
        <translation>Group name (keyword)</translation>
    </message>
    <message>
        <source>创建者URI:</source>
        <translation>Creator URI:</translation>
    </message>
    <message>
        <source>创建者URI</source>
        <translation>Creator URI</translation>
    </message>
    <message>
        <source>所在域：</source>
        <translation>Domain:</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>EditorFiles</name>
    <message>
        <source>保存失败，请选择正确的图片内容！</source>
        <translation>Saving failed: please select a picture!</translation>
    </message>
    <message>
        <source>保存失败，目标文件文件可能正在使用中！</source>
        <translation>Saving failed: the file may be in use!</translation>
    </message>
</context>
<context>
    <name>EditorMenu</name>
    <message>
        <source>撤消(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>剪切(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>复制(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>粘贴(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>清除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>另存为(&amp;S)</source>
        <translation>&amp;Save as</translation>
    </message>
    <message>
        <source>全部选定(&amp;A)</source>
        <translation>Select &amp;all</translation>
    </message>
    <message>
        <source>全部另存为(&amp;L)...</source>
        <translation>Save a&amp;ll as...</translation>
    </message>
    <message>
        <source>传送bmp图片(&amp;B)...</source>
        <translation>Send &amp;BMP picture...</translation>
    </message>
    <message>
        <source>传送wav文件(&amp;W)...</source>
        <translation>Send &amp;WAV file...</translation>
    </message>
</context>
<context>
    <name>EmoticonGrid</name>
    <message>
        <source>微笑</source>
        <translation>Smile</translation>
    </message>
    <message>
        <source>露齿笑</source>
        <translation>Grin</translation>
    </message>
    <message>
        <source>眨眼</source>
        <translation>Wink</translation>
    </message>
    <message>
        <source>吐舌头</source>
        <translation>Tongue out</translation>
    </message>
    <message>
        <source>戴墨镜</source>
        <translation>Sunglasses</translation>
    </message>
    <message>
        <source>生气</source>
        <translation>Angry</translation>
    </message>
    <message>
        <source>天使</source>
        <translation>Angel</translation>
    </message>
    <message>
        <source>困惑</source>
        <translation>Confused</translation>
    </message>
    <message>
        <source>害羞</source>
        <translation>Shy</translation>
    </message>
    <message>
        <source>难过</source>
        <translation>Sad</translation>
    </message>
    <message>
        <source>龇牙</source>
        <translation>Bared teeth</translation>
    </message>
    <message>
        <source>大笑</source>
        <translation>Laugh</translation>
    </message>
    <message>
        <source>哭泣</source>
        <translation>Crying</translation>
    </message>
    <message>
        <source>困倦</source>
        <translation>Sleepy</translation>
    </message>
    <message>
        <source>闭嘴</source>
        <translation>Lips sealed</translation>
    </message>
    <message>
        <source>坏笑</source>
        <translation>Smirk</translation>
    </message>
    <message>
        <source>爱慕</source>
        <translation>In love</translation>
    </message>
    <message>
        <source>大喊</source>
        <translation>Shout</translation>
    </message>
    <message>
        <source>讽刺</source>
        <translation>Sarcastic</translation>
    </message>
    <message>
        <source>担心</source>
        <translation>Worried</translation>
    </message>
    <message>
        <source>不高兴</source>
        <translation>Unhappy</translation>
    </message>
    <message>
        <source>无语</source>
        <translation>Speechless</translation>
    </message>
    <message>
        <source>相机</source>
        <translation>Camera</translation>
    </message>
    <message>
        <source>红心</source>
        <translation>Heart</translation>
    </message>
    <message>
        <source>心碎</source>
        <translation>Broken heart</translation>
    </message>
    <message>
        <source>猫</source>
        <translation>Cat</translation>
    </message>
    <message>
        <source>电影</source>
        <translation>Film</translation>
    </message>
    <message>
        <source>足球</source>
        <translation>Football</translation>
    </message>
    <message>
        <source>蛋糕</source>
        <translation>Cake</translation>
    </message>
    <message>
        <source>太阳</source>
        <translation>Sun</translation>
    </message>
    <message>
        <source>月亮</source>
        <translation>Moon</translation>
    </message>
    <message>
        <source>星星</source>
        <translation>Star</translation>
    </message>
    <message>
        <source>玫瑰</source>
        <translation>Rose</translation>
    </message>
    <message>
        <source>枯萎的花</source>
        <translation>Wilted flower</translation>
    </message>
    <message>
        <source>时钟</source>
        <translation>Clock</translation>
    </message>
    <message>
        <source>电视</source>
        <translation>Television</translation>
    </message>
    <message>
        <source>灯泡</source>
        <translation>Light bulb</translation>
    </message>
    <message>
        <source>咖啡</source>
        <translation>Coffee</translation>
    </message>
    <message>
        <source>电话</source>
        <translation>Telephone</translation>
    </message>
    <message>
        <source>邮件</source>
        <translation>Mail</translation>
    </message>
    <message>
        <source>表情</source>
        <translation>Emoticons</translation>
    </message>
</context>
<context>
    <name>GroupMenu</name>
    <message>
        <source>群组</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>群组会话(&amp;T)</source>
        <translation>Group cha&amp;t</translation>
    </message>
    <message>
        <source>创建群组(&amp;C)</source>
        <translation>&amp;Create group</translation>
    </message>
    <message>
        <source>编辑群组(&amp;E)</source>
        <translation>&amp;Edit group</translation>
    </message>
    <message>
        <source>群组属性(&amp;P)</source>
        <translation>Group &amp;properties</translation>
    </message>
    <message>
        <source>删除群组(&amp;D)</source>
        <translation>&amp;Delete group</translation>
    </message>
    <message>
        <source>退出群组(&amp;Q)</source>
        <translation>&amp;Leave group</translation>
    </message>
    <message>
        <source>邀请加入(&amp;I)</source>
        <translation>In&amp;vite to group</translation>
    </message>
    <message>
        <source>删除成员(&amp;M)</source>
        <translation>Remove &amp;member</translation>
    </message>
    <message>
        <source>修改我的名字(&amp;N)</source>
        <translation>Change my &amp;name</translation>
    </message>
    <message>
        <source>黑名单(&amp;B)</source>
        <translation>&amp;Blacklist</translation>
    </message>
    <message>
        <source>转让群组(&amp;W)</source>
        <translation>Trans&amp;fer group</translation>
    </message>
    <message>
        <source>搜索群组(&amp;S)</source>
        <translation>&amp;Search groups</translation>
    </message>
    <message>
        <source>发送即时消息(&amp;L)</source>
        <translation>Send inst&amp;ant message</translation>
    </message>
    <message>
        <source>发送离线消息(&amp;O)</source>
        <translation>Send &amp;offline message</translation>
    </message>
    <message>
        <source>成员属性(&amp;Y)</source>
        <translation>Member propert&amp;ies</translation>
    </message>
    <message>
        <source>群组聊天室(&amp;R)</source>
        <translation>Group chat &amp;room</translation>
    </message>
</context>
<context>
    <name>InvitationNotices</name>
    <message>
        <source>加入群组操作失败！</source>
        <translation>Joining the group failed!</translation>
    </message>
</context>
<context>
    <name>ModuleStrings</name>
    <message>
        <source>超过最大允许字符数!</source>
        <comment>38001</comment>
        <translation>The text is longer than allowed!</translation>
    </message>
    <message>
        <source>该显示名已经存在！</source>
        <comment>38002</comment>
        <translation>This display name already exists!</translation>
    </message>
    <message>
        <source>显示名称不能为空</source>
        <comment>38003</comment>
        <translation>The display name may not be empty</translation>
    </message>
    <message>
        <source>您对 %s 加入群组 %s 的邀请，超过群组人数最大数！</source>
        <comment>38004</comment>
        <translation>Your invitation of %s to group %s exceeds the group&apos;s member limit!</translation>
    </message>
    <message>
        <source>您已经邀请%s加入本群组！</source>
        <comment>38005</comment>
        <translation>You have already invited %s to this group!</translation>
    </message>
    <message>
        <source>说：</source>
        <comment>38007</comment>
        <translation>:</translation>
    </message>
    <message>
        <source>联系人帐号不能为空！</source>
        <comment>38008</comment>
        <translation>The contact account may not be empty!</translation>
    </message>
    <message>
        <source>发送时间</source>
        <comment>38010</comment>
        <translation>Sent at</translation>
    </message>
    <message>
        <source>系统提示</source>
        <comment>38011</comment>
        <translation>Notice</translation>
    </message>
    <message>
        <source>你</source>
        <comment>38012</comment>
        <translation>You</translation>
    </message>
    <message>
        <source>对你</source>
        <comment>38013</comment>
        <translation> to you</translation>
    </message>
    <message>
        <source>对</source>
        <comment>38014</comment>
        <translation> to </translation>
    </message>
    <message>
        <source>悄悄地</source>
        <comment>38015</comment>
        <translation> (private)</translation>
    </message>
    <message>
        <source>组[%s]已经存在</source>
        <comment>38016</comment>
        <translation>Group [%s] already exists</translation>
    </message>
    <message>
        <source>群组管理</source>
        <comment>38017</comment>
        <translation>Group management</translation>
    </message>
    <message>
        <source>我创建的群组</source>
        <comment>38018</comment>
        <translation>Groups I created</translation>
    </message>
    <message>
        <source>我加入的群组</source>
        <comment>38019</comment>
        <translation>Groups I joined</translation>
    </message>
    <message>
        <source>群组</source>
        <comment>38020</comment>
        <translation>Group</translation>
    </message>
    <message>
        <source>请选择要查询的群组!</source>
        <comment>38021</comment>
        <translation>Please select a group to query!</translation>
    </message>
    <message>
        <source>已加入</source>
        <comment>38022</comment>
        <translation>Joined</translation>
    </message>
    <message>
        <source>对 %s 的操作失败 !</source>
        <comment>38023</comment>
        <translation>The operation on %s failed!</translation>
    </message>
    <message>
        <source>黑白名单维护</source>
        <comment>38026</comment>
        <translation>Blacklist and whitelist</translation>
    </message>
    <message>
        <source>创建群组</source>
        <comment>38027</comment>
        <translation>Create group</translation>
    </message>
    <message>
        <source>邀请某人</source>
        <comment>38028</comment>
        <translation>Invite someone</translation>
    </message>
    <message>
        <source>群组属性</source>
        <comment>38029</comment>
        <translation>Group properties</translation>
    </message>
    <message>
        <source>搜索群组</source>
        <comment>38030</comment>
        <translation>Search groups</translation>
    </message>
    <message>
        <source>群组会话</source>
        <comment>38031</comment>
        <translation>Group chat</translation>
    </message>
    <message>
        <source>群组信息</source>
        <comment>38032</comment>
        <translation>Group information</translation>
    </message>
    <message>
        <source>群组名不能为空!</source>
        <comment>38034</comment>
        <translation>The group name may not be empty!</translation>
    </message>
    <message>
        <source>最大成员数不能小于2!</source>
        <comment>38035</comment>
        <translation>The maximum number of members may not be less than 2!</translation>
    </message>
    <message>
        <source>联系人帐号</source>
        <comment>38036</comment>
        <translation>Contact account</translation>
    </message>
    <message>
        <source>您输入字符为空，请重新输入!</source>
        <comment>38037</comment>
        <translation>You entered nothing. Please enter it again!</translation>
    </message>
    <message>
        <source>序号</source>
        <comment>38038</comment>
        <translation>No.</translation>
    </message>
    <message>
        <source>显示名</source>
        <comment>38039</comment>
        <translation>Display name</translation>
    </message>
    <message>
        <source>成员帐号</source>
        <comment>38040</comment>
        <translation>Member account</translation>
    </message>
    <message>
        <source>成员状态</source>
        <comment>38041</comment>
        <translation>Member state</translation>
    </message>
    <message>
        <source>群组所有者帐号</source>
        <comment>38042</comment>
        <translation>Owner account</translation>
    </message>
    <message>
        <source>群组名</source>
        <comment>38043</comment>
        <translation>Group name</translation>
    </message>
    <message>
        <source>是否已加入</source>
        <comment>38044</comment>
        <translation>Joined?</translation>
    </message>
    <message>
        <source>成员名</source>
        <comment>38045</comment>
        <translation>Member name</translation>
    </message>
    <message>
        <source>未加入</source>
        <comment>38046</comment>
        <translation>Not joined</translation>
    </message>
    <message>
        <source>等待审批</source>
        <comment>38047</comment>
        <translation>Awaiting approval</translation>
    </message>
    <message>
        <source>查询</source>
        <comment>38048</comment>
        <translation>Query</translation>
    </message>
    <message>
        <source>查询失败，原因可能是：该群组只有管理员（成员）可见!</source>
        <comment>38049</comment>
        <translation>The query failed, perhaps because the group is visible to its administrators (members) only!</translation>
    </message>
    <message>
        <source>查询中...</source>
        <comment>38050</comment>
        <translation>Querying...</translation>
    </message>
    <message>
        <source>群组</source>
        <comment>38051</comment>
        <translation>Groups</translation>
    </message>
    <message>
        <source>您确定要删除 %s 组?</source>
        <comment>38052</comment>
        <translation>Are you sure you want to delete group %s?</translation>
    </message>
    <message>
        <source>我创建的群组</source>
        <comment>38054</comment>
        <translation>Groups I created</translation>
    </message>
    <message>
        <source>成员帐号</source>
        <comment>38055</comment>
        <translation>Member account</translation>
    </message>
    <message>
        <source>我加入的群组</source>
        <comment>38056</comment>
        <translation>Groups I joined</translation>
    </message>
    <message>
        <source>已经存在该群组 %s!</source>
        <comment>38058</comment>
        <translation>Group %s already exists!</translation>
    </message>
    <message>
        <source>删除 %s 群组的 %s 成员吗 ?</source>
        <comment>38060</comment>
        <translation>Remove member %2$s from group %1$s?</translation>
    </message>
    <message>
        <source>%s已经加入该群组!</source>
        <comment>38061</comment>
        <translation>%s has already joined this group!</translation>
    </message>
    <message>
        <source>您要退出 %s 群组吗 ?</source>
        <comment>38062</comment>
        <translation>Do you want to leave group %s?</translation>
    </message>
    <message>
        <source> 邀请您加入群组 %s，同意?</source>
        <comment>38063</comment>
        <translation> invites you to join group %s. Accept?</translation>
    </message>
    <message>
        <source>%s拒绝加入群组%s!</source>
        <comment>38064</comment>
        <translation>%s declined to join group %s!</translation>
    </message>
    <message>
        <source>邀请%s加入群组%s,超时!</source>
        <comment>38065</comment>
        <translation>Inviting %s to group %s timed out!</translation>
    </message>
    <message>
        <source>用户 %s 请求加入您的群组 %s,同意?</source>
        <comment>38067</comment>
        <translation>User %s asks to join your group %s. Accept?</translation>
    </message>
    <message>
        <source>您被拒绝加入群组 %s!</source>
        <comment>38068</comment>
        <translation>Your request to join group %s was refused!</translation>
    </message>
    <message>
        <source>您加入群组%s超时!</source>
        <comment>38069</comment>
        <translation>Joining group %s timed out!</translation>
    </message>
    <message>
        <source>创建群组:%s超时!</source>
        <comment>38070</comment>
        <translation>Creating group %s timed out!</translation>
    </message>
    <message>
        <source>修改群组:%s超时!</source>
        <comment>38071</comment>
        <translation>Changing group %s timed out!</translation>
    </message>
    <message>
        <source>创建群组:%s失败!</source>
        <comment>38072</comment>
        <translation>Creating group %s failed!</translation>
    </message>
    <message>
        <source>修改群组:%s失败!</source>
        <comment>38073</comment>
        <translation>Changing group %s failed!</translation>
    </message>
    <message>
        <source>删除群组:%s超时!</source>
        <comment>38074</comment>
        <translation>Deleting group %s timed out!</translation>
    </message>
    <message>
        <source>删除群组:%s失败!</source>
        <comment>38075</comment>
        <translation>Deleting group %s failed!</translation>
    </message>
    <message>
        <source>您邀请%s加入群组%s错误,该被邀请人不存在!</source>
        <comment>38076</comment>
        <translation>Your invitation of %s to group %s failed: there is no such user!</translation>
    </message>
    <message>
        <source>您对%s加入群组%s的邀请,超时!</source>
        <comment>38077</comment>
        <translation>Your invitation of %s to group %s timed out!</translation>
    </message>
    <message>
        <source>您对%s加入群组%s的邀请,失败!</source>
        <comment>38078</comment>
        <translation>Your invitation of %s to group %s failed!</translation>
    </message>
    <message>
        <source>从群组:%s中删除成员%s超时!</source>
        <comment>38079</comment>
        <translation>Removing member %s from group %s timed out!</translation>
    </message>
    <message>
        <source>从群组:%s中删除成员%s失败!</source>
        <comment>38080</comment>
        <translation>Removing member %s from group %s failed!</translation>
    </message>
    <message>
        <source>离开群组:%s超时!</source>
        <comment>38081</comment>
        <translation>Leaving group %s timed out!</translation>
    </message>
    <message>
        <source>离开群组:%s失败!</source>
        <comment>38082</comment>
        <translation>Leaving group %s failed!</translation>
    </message>
    <message>
        <source>修改在群组:%s中的显示名超时!</source>
        <comment>38083</comment>
        <translation>Changing your display name in group %s timed out!</translation>
    </message>
    <message>
        <source>修改在群组:%s中的显示名失败!</source>
        <comment>38084</comment>
        <translation>Changing your display name in group %s failed!</translation>
    </message>
    <message>
        <source>群组[%s]已被管理员删除!</source>
        <comment>38085</comment>
        <translation>Group [%s] was deleted by its administrator!</translation>
    </message>
    <message>
        <source>您已经退出群组%s!</source>
        <comment>38086</comment>
        <translation>You have left group %s!</translation>
    </message>
    <message>
        <source>发送者</source>
        <comment>38087</comment>
        <translation>Sender</translation>
    </message>
    <message>
        <source>不能删除非空群组！</source>
        <comment>38088</comment>
        <translation>A group that has members cannot be deleted!</translation>
    </message>
    <message>
        <source>%s 已经在该群组的黑名单中！</source>
        <comment>38090</comment>
        <translation>%s is already on this group&apos;s blacklist!</translation>
    </message>
    <message>
        <source>加入 %s 群组成功！</source>
        <comment>38091</comment>
        <translation>You have joined group %s!</translation>
    </message>
    <message>
        <source>群组%s成员数已满!</source>
        <comment>38092</comment>
        <translation>Group %s is full!</translation>
    </message>
    <message>
        <source>基本群组</source>
        <comment>38093</comment>
        <translation>Basic groups</translation>
    </message>
    <message>
        <source>互助群组</source>
        <comment>38094</comment>
        <translation>Mutual-aid groups</translation>
    </message>
    <message>
        <source>您要发送的内容包含敏感词汇！</source>
        <comment>38095</comment>
        <translation>What you want to send contains banned words!</translation>
    </message>
    <message>
        <source>编辑群组</source>
        <comment>38096</comment>
        <translation>Edit group</translation>
    </message>
    <message>
        <source>成员业务号码</source>
        <comment>38097</comment>
        <translation>Member phone number</translation>
    </message>
    <message>
        <source>群组主题</source>
        <comment>38098</comment>
        <translation>Subject</translation>
    </message>
    <message>
        <source>公告</source>
        <comment>38099</comment>
        <translation>Bulletin</translation>
    </message>
    <message>
        <source>创建群组数已达上限!</source>
        <comment>38100</comment>
        <translation>You have created as many groups as allowed!</translation>
    </message>
    <message>
        <source>所有联系人</source>
        <comment>38101</comment>
        <translation>All contacts</translation>
    </message>
    <message>
        <source>获取失败！</source>
        <comment>38104</comment>
        <translation>Fetching failed!</translation>
    </message>
    <message>
        <source>群组历史消息</source>
        <comment>38105</comment>
        <translation>Group message history</translation>
    </message>
    <message>
        <source>您确定要转让 %s 群组给 %s 吗？</source>
        <comment>38106</comment>
        <translation>Are you sure you want to transfer group %s to %s?</translation>
    </message>
    <message>
        <source>%s 目前不在线，请在对方上线后，转让群组！</source>
        <comment>38107</comment>
        <translation>%s is not online. Please transfer the group when they are online!</translation>
    </message>
    <message>
        <source>您的转让请求已经发出！</source>
        <comment>38108</comment>
        <translation>Your transfer request has been sent!</translation>
    </message>
    <message>
        <source>您无权转让群组！</source>
        <comment>38109</comment>
        <translation>You may not transfer this group!</translation>
    </message>
    <message>
        <source>群组不存在或成员不属于该群组！</source>
        <comment>38110</comment>
        <translation>The group does not exist, or the member does not belong to it!</translation>
    </message>
    <message>
        <source>群数量达到上限，群组转让失败！</source>
        <comment>38111</comment>
        <translation>Group transfer failed: the limit of groups has been reached!</translation>
    </message>
    <message>
        <source>服务器异常，群组转让失败！</source>
        <comment>38112</comment>
        <translation>Group transfer failed: server error!</translation>
    </message>
    <message>
        <source>未知原因，群组转让失败！</source>
        <comment>38113</comment>
        <translation>Group transfer failed for an unknown reason!</translation>
    </message>
    <message>
        <source>群主 %s 将 %s 群转让给您，是否接受？</source>
        <comment>38114</comment>
        <translation>Owner %s wants to transfer group %s to you. Accept?</translation>
    </message>
    <message>
        <source>%s 同意了转让群组 %s 的请求！</source>
        <comment>38115</comment>
        <translation>%s accepted the transfer of group %s!</translation>
    </message>
    <message>
        <source>%s 拒绝了转让群组 %s 的请求！</source>
        <comment>38116</comment>
        <translation>%s declined the transfer of group %s!</translation>
    </message>
</context>
<context>
    <name>PresenceText</name>
    <message>
        <source>离线</source>
        <translation>Offline</translation>
    </message>
    <message>
        <source>忙碌</source>
        <translation>Busy</translation>
    </message>
    <message>
        <source>离开</source>
        <translation>Away</translation>
    </message>
    <message>
        <source>通话中</source>
        <translation>On the phone</translation>
    </message>
    <message>
        <source>用餐</source>
        <translation>Out to lunch</translation>
    </message>
    <message>
        <source>请勿打扰</source>
        <translation>Do not disturb</translation>
    </message>
    <message>
        <source>在线</source>
        <translation>Online</translation>
    </message>
</context>
<context>
    <name>tarvolan::CEditorAccessible</name>
    <message>
        <source>图片</source>
        <translation>Picture</translation>
    </message>
</context>
<context>
    <name>tarvolan::CFindBar</name>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>上一个</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>下一个</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>查找结果</source>
        <translation>Find results</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>关闭查找</source>
        <translation>Close find</translation>
    </message>
    <message>
        <source>没有找到</source>
        <translation>No match</translation>
    </message>
    <message>
        <source>%1/%2</source>
        <translation>%1/%2</translation>
    </message>
</context>
<context>
    <name>tarvolan::CTarvolanHistoryDialog</name>
    <message>
        <source>第%1页，%2条消息</source>
        <translation>Page %1, %2 messages</translation>
    </message>
</context>
</TS>
