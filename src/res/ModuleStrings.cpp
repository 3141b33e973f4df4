// The module's string table, kept as UTF-8 source text and converted to GBK
// when the bundle is built. The texts are the source language of Qt's
// translation system: context "ModuleStrings", each told apart by its id
// (lupdate reads them from here); the group menu's are under "GroupMenu".
#include "res/ModuleResources.h"

#include <utility>

#include <QtGlobal>

namespace tarvolan {

namespace {

struct TSourceText {
    const char* utf8;
    const char* disambiguation;  // the id, for translators and for equal texts
};

struct TStringEntry {
    int id;
    TSourceText text;
};

constexpr TStringEntry kStrings[] = {
    {38001, QT_TRANSLATE_NOOP3("ModuleStrings", "超过最大允许字符数!", "38001")},
    {38002, QT_TRANSLATE_NOOP3("ModuleStrings", "该显示名已经存在！", "38002")},
    {38003, QT_TRANSLATE_NOOP3("ModuleStrings", "显示名称不能为空", "38003")},
    {38004, QT_TRANSLATE_NOOP3("ModuleStrings", "您对 %s 加入群组 %s 的邀请，超过群组人数最大数！", "38004")},
    {38005, QT_TRANSLATE_NOOP3("ModuleStrings", "您已经邀请%s加入本群组！", "38005")},
    {38007, QT_TRANSLATE_NOOP3("ModuleStrings", "说：", "38007")},
    {38008, QT_TRANSLATE_NOOP3("ModuleStrings", "联系人帐号不能为空！", "38008")},
    {38010, QT_TRANSLATE_NOOP3("ModuleStrings", "发送时间", "38010")},
    {38011, QT_TRANSLATE_NOOP3("ModuleStrings", "系统提示", "38011")},
    {38012, QT_TRANSLATE_NOOP3("ModuleStrings", "你", "38012")},
    {38013, QT_TRANSLATE_NOOP3("ModuleStrings", "对你", "38013")},
    {38014, QT_TRANSLATE_NOOP3("ModuleStrings", "对", "38014")},
    {38015, QT_TRANSLATE_NOOP3("ModuleStrings", "悄悄地", "38015")},
    {38016, QT_TRANSLATE_NOOP3("ModuleStrings", "组[%s]已经存在", "38016")},
    {38017, QT_TRANSLATE_NOOP3("ModuleStrings", "群组管理", "38017")},
    {38018, QT_TRANSLATE_NOOP3("ModuleStrings", "我创建的群组", "38018")},
    {38019, QT_TRANSLATE_NOOP3("ModuleStrings", "我加入的群组", "38019")},
    {38020, QT_TRANSLATE_NOOP3("ModuleStrings", "群组", "38020")},
    {38021, QT_TRANSLATE_NOOP3("ModuleStrings", "请选择要查询的群组!", "38021")},
    {38022, QT_TRANSLATE_NOOP3("ModuleStrings", "已加入", "38022")},
    {38023, QT_TRANSLATE_NOOP3("ModuleStrings", "对 %s 的操作失败 !", "38023")},
    {38026, QT_TRANSLATE_NOOP3("ModuleStrings", "黑白名单维护", "38026")},
    {38027, QT_TRANSLATE_NOOP3("ModuleStrings", "创建群组", "38027")},
    {38028, QT_TRANSLATE_NOOP3("ModuleStrings", "邀请某人", "38028")},
    {38029, QT_TRANSLATE_NOOP3("ModuleStrings", "群组属性", "38029")},
    {38030, QT_TRANSLATE_NOOP3("ModuleStrings", "搜索群组", "38030")},
    {38031, QT_TRANSLATE_NOOP3("ModuleStrings", "群组会话", "38031")},
    {38032, QT_TRANSLATE_NOOP3("ModuleStrings", "群组信息", "38032")},
    {38034, QT_TRANSLATE_NOOP3("ModuleStrings", "群组名不能为空!", "38034")},
    {38035, QT_TRANSLATE_NOOP3("ModuleStrings", "最大成员数不能小于2!", "38035")},
    {38036, QT_TRANSLATE_NOOP3("ModuleStrings", "联系人帐号", "38036")},
    {38037, QT_TRANSLATE_NOOP3("ModuleStrings", "您输入字符为空，请重新输入!", "38037")},
    {38038, QT_TRANSLATE_NOOP3("ModuleStrings", "序号", "38038")},
    {38039, QT_TRANSLATE_NOOP3("ModuleStrings", "显示名", "38039")},
    {38040, QT_TRANSLATE_NOOP3("ModuleStrings", "成员帐号", "38040")},
    {38041, QT_TRANSLATE_NOOP3("ModuleStrings", "成员状态", "38041")},
    {38042, QT_TRANSLATE_NOOP3("ModuleStrings", "群组所有者帐号", "38042")},
    {38043, QT_TRANSLATE_NOOP3("ModuleStrings", "群组名", "38043")},
    {38044, QT_TRANSLATE_NOOP3("ModuleStrings", "是否已加入", "38044")},
    {38045, QT_TRANSLATE_NOOP3("ModuleStrings", "成员名", "38045")},
    {38046, QT_TRANSLATE_NOOP3("ModuleStrings", "未加入", "38046")},
    {38047, QT_TRANSLATE_NOOP3("ModuleStrings", "等待审批", "38047")},
    {38048, QT_TRANSLATE_NOOP3("ModuleStrings", "查询", "38048")},
    {38049, QT_TRANSLATE_NOOP3("ModuleStrings", "查询失败，原因可能是：该群组只有管理员（成员）可见!", "38049")},
    {38050, QT_TRANSLATE_NOOP3("ModuleStrings", "查询中...", "38050")},
    {38051, QT_TRANSLATE_NOOP3("ModuleStrings", "群组", "38051")},
    {38052, QT_TRANSLATE_NOOP3("ModuleStrings", "您确定要删除 %s 组?", "38052")},
    {38054, QT_TRANSLATE_NOOP3("ModuleStrings", "我创建的群组", "38054")},
    {38055, QT_TRANSLATE_NOOP3("ModuleStrings", "成员帐号", "38055")},
    {38056, QT_TRANSLATE_NOOP3("ModuleStrings", "我加入的群组", "38056")},
    {38058, QT_TRANSLATE_NOOP3("ModuleStrings", "已经存在该群组 %s!", "38058")},
    {38060, QT_TRANSLATE_NOOP3("ModuleStrings", "删除 %s 群组的 %s 成员吗 ?", "38060")},
    {38061, QT_TRANSLATE_NOOP3("ModuleStrings", "%s已经加入该群组!", "38061")},
    {38062, QT_TRANSLATE_NOOP3("ModuleStrings", "您要退出 %s 群组吗 ?", "38062")},
    {38063, QT_TRANSLATE_NOOP3("ModuleStrings", " 邀请您加入群组 %s，同意?", "38063")},
    {38064, QT_TRANSLATE_NOOP3("ModuleStrings", "%s拒绝加入群组%s!", "38064")},
    {38065, QT_TRANSLATE_NOOP3("ModuleStrings", "邀请%s加入群组%s,超时!", "38065")},
    {38067, QT_TRANSLATE_NOOP3("ModuleStrings", "用户 %s 请求加入您的群组 %s,同意?", "38067")},
    {38068, QT_TRANSLATE_NOOP3("ModuleStrings", "您被拒绝加入群组 %s!", "38068")},
    {38069, QT_TRANSLATE_NOOP3("ModuleStrings", "您加入群组%s超时!", "38069")},
    {38070, QT_TRANSLATE_NOOP3("ModuleStrings", "创建群组:%s超时!", "38070")},
    {38071, QT_TRANSLATE_NOOP3("ModuleStrings", "修改群组:%s超时!", "38071")},
    {38072, QT_TRANSLATE_NOOP3("ModuleStrings", "创建群组:%s失败!", "38072")},
    {38073, QT_TRANSLATE_NOOP3("ModuleStrings", "修改群组:%s失败!", "38073")},
    {38074, QT_TRANSLATE_NOOP3("ModuleStrings", "删除群组:%s超时!", "38074")},
    {38075, QT_TRANSLATE_NOOP3("ModuleStrings", "删除群组:%s失败!", "38075")},
    {38076, QT_TRANSLATE_NOOP3("ModuleStrings", "您邀请%s加入群组%s错误,该被邀请人不存在!", "38076")},
    {38077, QT_TRANSLATE_NOOP3("ModuleStrings", "您对%s加入群组%s的邀请,超时!", "38077")},
    {38078, QT_TRANSLATE_NOOP3("ModuleStrings", "您对%s加入群组%s的邀请,失败!", "38078")},
    {38079, QT_TRANSLATE_NOOP3("ModuleStrings", "从群组:%s中删除成员%s超时!", "38079")},
    {38080, QT_TRANSLATE_NOOP3("ModuleStrings", "从群组:%s中删除成员%s失败!", "38080")},
    {38081, QT_TRANSLATE_NOOP3("ModuleStrings", "离开群组:%s超时!", "38081")},
    {38082, QT_TRANSLATE_NOOP3("ModuleStrings", "离开群组:%s失败!", "38082")},
    {38083, QT_TRANSLATE_NOOP3("ModuleStrings", "修改在群组:%s中的显示名超时!", "38083")},
    {38084, QT_TRANSLATE_NOOP3("ModuleStrings", "修改在群组:%s中的显示名失败!", "38084")},
    {38085, QT_TRANSLATE_NOOP3("ModuleStrings", "群组[%s]已被管理员删除!", "38085")},
    {38086, QT_TRANSLATE_NOOP3("ModuleStrings", "您已经退出群组%s!", "38086")},
    {38087, QT_TRANSLATE_NOOP3("ModuleStrings", "发送者", "38087")},
    {38088, QT_TRANSLATE_NOOP3("ModuleStrings", "不能删除非空群组！", "38088")},
    {38090, QT_TRANSLATE_NOOP3("ModuleStrings", "%s 已经在该群组的黑名单中！", "38090")},
    {38091, QT_TRANSLATE_NOOP3("ModuleStrings", "加入 %s 群组成功！", "38091")},
    {38092, QT_TRANSLATE_NOOP3("ModuleStrings", "群组%s成员数已满!", "38092")},
    {38093, QT_TRANSLATE_NOOP3("ModuleStrings", "基本群组", "38093")},
    {38094, QT_TRANSLATE_NOOP3("ModuleStrings", "互助群组", "38094")},
    {38095, QT_TRANSLATE_NOOP3("ModuleStrings", "您要发送的内容包含敏感词汇！", "38095")},
    {38096, QT_TRANSLATE_NOOP3("ModuleStrings", "编辑群组", "38096")},
    {38097, QT_TRANSLATE_NOOP3("ModuleStrings", "成员业务号码", "38097")},
    {38098, QT_TRANSLATE_NOOP3("ModuleStrings", "群组主题", "38098")},
    {38099, QT_TRANSLATE_NOOP3("ModuleStrings", "公告", "38099")},
    {38100, QT_TRANSLATE_NOOP3("ModuleStrings", "创建群组数已达上限!", "38100")},
    {38101, QT_TRANSLATE_NOOP3("ModuleStrings", "所有联系人", "38101")},
    {38104, QT_TRANSLATE_NOOP3("ModuleStrings", "获取失败！", "38104")},
    {38105, QT_TRANSLATE_NOOP3("ModuleStrings", "群组历史消息", "38105")},
    {38106, QT_TRANSLATE_NOOP3("ModuleStrings", "您确定要转让 %s 群组给 %s 吗？", "38106")},
    {38107, QT_TRANSLATE_NOOP3("ModuleStrings", "%s 目前不在线，请在对方上线后，转让群组！", "38107")},
    {38108, QT_TRANSLATE_NOOP3("ModuleStrings", "您的转让请求已经发出！", "38108")},
    {38109, QT_TRANSLATE_NOOP3("ModuleStrings", "您无权转让群组！", "38109")},
    {38110, QT_TRANSLATE_NOOP3("ModuleStrings", "群组不存在或成员不属于该群组！", "38110")},
    {38111, QT_TRANSLATE_NOOP3("ModuleStrings", "群数量达到上限，群组转让失败！", "38111")},
    {38112, QT_TRANSLATE_NOOP3("ModuleStrings", "服务器异常，群组转让失败！", "38112")},
    {38113, QT_TRANSLATE_NOOP3("ModuleStrings", "未知原因，群组转让失败！", "38113")},
    {38114, QT_TRANSLATE_NOOP3("ModuleStrings", "群主 %s 将 %s 群转让给您，是否接受？", "38114")},
    {38115, QT_TRANSLATE_NOOP3("ModuleStrings", "%s 同意了转让群组 %s 的请求！", "38115")},
    {38116, QT_TRANSLATE_NOOP3("ModuleStrings", "%s 拒绝了转让群组 %s 的请求！", "38116")},
};

TMenuItem Command(int id, const char* utf8)
{
    TMenuItem item;
    item.id = id;
    item.text = Utf8ToGbk(utf8);
    return item;
}

TMenuItem Separator()
{
    return TMenuItem();
}

} // namespace

void AddTarvolanStrings(CResourceBundle& bundle)
{
    bundle.SetTranslationContext(kStringTableContext);
    for (const TStringEntry& entry : kStrings)
        bundle.AddStringUtf8(entry.id, entry.text.utf8, entry.text.disambiguation);
}

TMenuItem TarvolanGroupMenu()
{
    TMenuItem popup = Command(0, QT_TRANSLATE_NOOP("GroupMenu", "群组"));
    popup.children = {
        Command(IDM_GROUP_CHAT, QT_TRANSLATE_NOOP("GroupMenu", "群组会话(&T)")),
        Command(IDM_CREATE_GROUP, QT_TRANSLATE_NOOP("GroupMenu", "创建群组(&C)")),
        Command(IDM_EDIT_GROUP, QT_TRANSLATE_NOOP("GroupMenu", "编辑群组(&E)")),
        Command(IDM_GROUP_PROPERTIES, QT_TRANSLATE_NOOP("GroupMenu", "群组属性(&P)")),
        Command(IDM_DELETE_GROUP, QT_TRANSLATE_NOOP("GroupMenu", "删除群组(&D)")),
        Command(IDM_LEAVE_GROUP, QT_TRANSLATE_NOOP("GroupMenu", "退出群组(&Q)")),
        Separator(),
        Command(IDM_INVITE, QT_TRANSLATE_NOOP("GroupMenu", "邀请加入(&I)")),
        Command(IDM_REMOVE_MEMBER, QT_TRANSLATE_NOOP("GroupMenu", "删除成员(&M)")),
        Command(IDM_CHANGE_MY_NAME, QT_TRANSLATE_NOOP("GroupMenu", "修改我的名字(&N)")),
        Command(IDM_BLACKLIST, QT_TRANSLATE_NOOP("GroupMenu", "黑名单(&B)")),
        Command(IDM_TRANSFER_GROUP, QT_TRANSLATE_NOOP("GroupMenu", "转让群组(&W)")),
        Command(IDM_SEARCH_GROUPS, QT_TRANSLATE_NOOP("GroupMenu", "搜索群组(&S)")),
        Separator(),
        Command(IDM_INSTANT_MESSAGE, QT_TRANSLATE_NOOP("GroupMenu", "发送即时消息(&L)")),
        Command(IDM_OFFLINE_MESSAGE, QT_TRANSLATE_NOOP("GroupMenu", "发送离线消息(&O)")),
        Command(IDM_MEMBER_PROPERTIES, QT_TRANSLATE_NOOP("GroupMenu", "成员属性(&Y)")),
        Command(IDM_CHAT_ROOM, QT_TRANSLATE_NOOP("GroupMenu", "群组聊天室(&R)")),
    };
    TMenuItem menu;
    menu.children.push_back(std::move(popup));
    return menu;
}

} // namespace tarvolan
