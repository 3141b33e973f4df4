#include "conversation/EditorFiles.h"

#include <QFile>
#include <QCoreApplication>
#include <QImage>

#include "clientkit/ClientKit.h"
#include "conversation/BitmapFile.h"
#include "platform/UiDriver.h"
#include "platform/Window.h"

namespace tarvolan {

namespace {

// Position of the extension's dot; -1 when the file's own name has none.
int ExtensionDot(const CString& name)
{
    const int dot = name.ReverseFind('.');
    return dot > name.ReverseFind('/') ? dot : -1;
}

// Source texts are under the context "EditorFiles".
void ShowSaveFailure(QWidget* owner, const char* utf8)
{
    ShowMessageBox(owner, FromQt(QCoreApplication::translate("EditorFiles", utf8)), GetMsgTitle(), MB_ICONINFORMATION);
}

} // namespace

CString AskSaveFileName(QWidget* owner, const char* filter, const char* ext)
{
    const CString chosen = GetUiDriver()->GetSaveFileName(owner, CString(), filter);
    if (chosen.IsEmpty() || ExtensionDot(chosen) >= 0) return chosen;
    return chosen + ext;
}

void SavePictureFile(QWidget* owner, const CString& name, const QImage& picture)
{
    if (picture.isNull()) {
        ShowSaveFailure(owner, QT_TRANSLATE_NOOP("EditorFiles", "保存失败，请选择正确的图片内容！"));
        return;
    }
    if (!WriteBitmapFile(ToQt(name), picture))
        ShowSaveFailure(owner, QT_TRANSLATE_NOOP("EditorFiles", "保存失败，目标文件文件可能正在使用中！"));
}

void SaveContentFile(const CString& name, const QTextDocument& document, const CString& text,
                     const TRtfPictureSource& pictures)
{
    QFile file(ToQt(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    const int dot = ExtensionDot(name);
    if (dot >= 0 && name.Mid(dot + 1).EqualsNoCase("txt")) {
        const CString line = text + "\n";
        file.write(line.c_str(), line.GetLength());
        return;
    }
    file.write(DocumentToRtf(document, pictures));
}

} // namespace tarvolan
