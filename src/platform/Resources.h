// Resource bundles: one library's string table, menus and bitmaps. The process
// has one current bundle; every module entry point makes its own bundle
// current with CResourceSwitch, which puts the previous one back on every path.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QString>

#include "common/GbkString.h"
#include "platform/Export.h"

class QMenu;
class QWidget;
class QAction;

namespace tarvolan {

struct TMenuItem {
    int id = 0;                       // 0 for a separator or a sub-menu
    CString text;                     // GBK; empty for a separator
    std::vector<TMenuItem> children;  // non-empty for a sub-menu
};

class TARVOLAN_EXPORT CResourceBundle {
public:
    explicit CResourceBundle(CString name) : m_name(std::move(name)) {}

    const CString& Name() const { return m_name; }

    // Strings are given as UTF-8 source text and kept as GBK. The
    // disambiguation tells apart equal source texts of different meaning.
    void AddStringUtf8(int id, const char* utf8, const char* disambiguation = nullptr);
    // Once a bundle has a translation context, String() hands out its
    // strings in the language of the installed translators (Qt's
    // translation system), as GBK; characters GBK lacks become '?'.
    void SetTranslationContext(const char* context) { m_context = context ? context : ""; }
    void AddMenu(int id, TMenuItem menu) { m_menus[id] = std::move(menu); }
    void AddBitmap(int id, QString path) { m_bitmaps[id] = std::move(path); }

    // Empty when the id is unknown.
    CString String(int id) const;
    // The source text, untranslated: what the host receives or stores.
    CString SourceString(int id) const;
    bool HasString(int id) const { return m_strings.count(id) != 0; }
    const TMenuItem* Menu(int id) const;
    QString BitmapPath(int id) const;

private:
    struct TString {
        CString gbk;                 // the source text
        std::string utf8;            // the same, as the translation system looks it up
        std::string disambiguation;
    };
    CString m_name;
    std::string m_context;
    std::map<int, TString> m_strings;
    std::map<int, TMenuItem> m_menus;
    std::map<int, QString> m_bitmaps;
};

// The process's current bundle; null until someone installs one.
TARVOLAN_EXPORT CResourceBundle* GetResourceBundle();
// Makes bundle current and returns the previous one.
TARVOLAN_EXPORT CResourceBundle* SetResourceBundle(CResourceBundle* bundle);

// The resource chain: bundles of loaded libraries that joined it are
// searched after the current bundle, so a library's windows find their
// strings, menus and bitmaps also while the host's bundle is current (for
// example when the event loop delivers a click to them).
TARVOLAN_EXPORT void JoinResourceChain(CResourceBundle* bundle);
TARVOLAN_EXPORT void LeaveResourceChain(CResourceBundle* bundle);

// A string of the current bundle, else of the chain; empty when none has it.
// Translated for a person to read (see SetTranslationContext).
TARVOLAN_EXPORT CString LoadResString(int id);
// The same string untranslated, for texts that go to the host or into files.
TARVOLAN_EXPORT CString LoadResSourceString(int id);
// A menu of the current bundle, else of the chain; null when none has it.
TARVOLAN_EXPORT const TMenuItem* LoadResMenu(int id);

// A bitmap of the current bundle, else of the chain; null when none has it.
TARVOLAN_EXPORT QPixmap LoadResBitmap(int id);
// Cuts a bitmap of the current bundle into images cx pixels wide (the
// bitmap's height high), the pixels of the transparent colour (0xRRGGBB)
// made transparent; empty when the bitmap is missing or cx is not positive.
TARVOLAN_EXPORT QList<QPixmap> LoadImageList(int bitmapId, int cx, QRgb transparent = 0xFFFFFF);
// The same images as icons that also hold the bitmap's 2x strip (its file
// with "@2x", images 2 * cx pixels wide) when it is there: each icon draws
// the art that suits the screen it is painted on. One icon per image, to be
// shared by every item that shows it.
TARVOLAN_EXPORT QList<QIcon> LoadImageIcons(int bitmapId, int cx, QRgb transparent = 0xFFFFFF);

// Builds a popup menu from a menu resource item (its children become the
// menu's entries); every command action carries its id in QAction::data().
// With a translation context, the texts are shown translated under it.
TARVOLAN_EXPORT QMenu* CreatePopupMenu(const TMenuItem& menu, QWidget* parent = nullptr,
                                       const char* translationContext = nullptr);
// The action with that command id, searched in sub-menus too; null when none.
TARVOLAN_EXPORT QAction* FindMenuAction(const QMenu* menu, int id);
// Removes the action with that command id (like RemoveMenu by command).
TARVOLAN_EXPORT void RemoveMenuAction(QMenu* menu, int id);
// Enables or grays the action with that command id; false when none.
TARVOLAN_EXPORT bool EnableMenuAction(QMenu* menu, int id, bool enable);

class TARVOLAN_EXPORT CResourceSwitch {
public:
    explicit CResourceSwitch(CResourceBundle* bundle) : m_previous(SetResourceBundle(bundle)) {}
    ~CResourceSwitch() { SetResourceBundle(m_previous); }
    CResourceSwitch(const CResourceSwitch&) = delete;
    CResourceSwitch& operator=(const CResourceSwitch&) = delete;

private:
    CResourceBundle* m_previous;
};

} // namespace tarvolan
