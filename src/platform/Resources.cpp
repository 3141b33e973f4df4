// Resource bundles, the process's current bundle, and menus and images built
// from a bundle's resources.
#include "platform/Resources.h"

#include <algorithm>
#include <vector>

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QMenu>

#include "platform/Pictures.h"
#include "platform/Window.h"

namespace tarvolan {

namespace {

CResourceBundle* g_currentBundle = nullptr;

// A GBK source text as the translators under context have it; the text
// itself without a context.
QString Translated(const char* context, const CString& gbk)
{
    if (!context) return ToQt(gbk);
    return QCoreApplication::translate(context, GbkToUtf8(gbk.view()).c_str());
}

void AddMenuEntries(QMenu* menu, const std::vector<TMenuItem>& items, const char* context)
{
    for (const TMenuItem& item : items) {
        if (!item.children.empty()) {
            QMenu* sub = menu->addMenu(Translated(context, item.text));
            AddMenuEntries(sub, item.children, context);
        } else if (item.id == 0 && item.text.IsEmpty()) {
            menu->addSeparator();
        } else {
            QAction* action = menu->addAction(Translated(context, item.text));
            action->setData(item.id);
        }
    }
}

// The menu that directly holds the action with that id, and the action.
std::pair<QMenu*, QAction*> FindActionAndOwner(const QMenu* menu, int id)
{
    if (!menu) return {nullptr, nullptr};
    for (QAction* action : menu->actions()) {
        if (QMenu* sub = action->menu()) {
            auto found = FindActionAndOwner(sub, id);
            if (found.second) return found;
        } else if (!action->isSeparator() && action->data().isValid() && action->data().toInt() == id) {
            return {const_cast<QMenu*>(menu), action};
        }
    }
    return {nullptr, nullptr};
}

} // namespace

void CResourceBundle::AddStringUtf8(int id, const char* utf8, const char* disambiguation)
{
    const std::string source = utf8 ? utf8 : "";
    m_strings[id] = {Utf8ToGbk(source), source, disambiguation ? disambiguation : ""};
}

CString CResourceBundle::String(int id) const
{
    auto it = m_strings.find(id);
    if (it == m_strings.end()) return CString();
    const TString& text = it->second;
    if (m_context.empty()) return text.gbk;
    const QString translated = QCoreApplication::translate(
        m_context.c_str(), text.utf8.c_str(), text.disambiguation.empty() ? nullptr : text.disambiguation.c_str());
    // Without a translation the source comes back: keep its bytes exactly.
    return translated.toUtf8().toStdString() == text.utf8 ? text.gbk : FromQt(translated);
}

CString CResourceBundle::SourceString(int id) const
{
    auto it = m_strings.find(id);
    return it == m_strings.end() ? CString() : it->second.gbk;
}

const TMenuItem* CResourceBundle::Menu(int id) const
{
    auto it = m_menus.find(id);
    return it == m_menus.end() ? nullptr : &it->second;
}

QString CResourceBundle::BitmapPath(int id) const
{
    auto it = m_bitmaps.find(id);
    return it == m_bitmaps.end() ? QString() : it->second;
}

CResourceBundle* GetResourceBundle()
{
    return g_currentBundle;
}

CResourceBundle* SetResourceBundle(CResourceBundle* bundle)
{
    CResourceBundle* previous = g_currentBundle;
    g_currentBundle = bundle;
    return previous;
}

namespace {

std::vector<CResourceBundle*>& Chain()
{
    static std::vector<CResourceBundle*> chain;
    return chain;
}

// The first bundle, current one first, for which found(bundle) holds.
template <class Found>
const CResourceBundle* FindBundle(Found found)
{
    if (g_currentBundle && found(*g_currentBundle)) return g_currentBundle;
    for (const CResourceBundle* bundle : Chain())
        if (found(*bundle)) return bundle;
    return nullptr;
}

} // namespace

void JoinResourceChain(CResourceBundle* bundle)
{
    auto& chain = Chain();
    if (bundle && std::find(chain.begin(), chain.end(), bundle) == chain.end()) chain.push_back(bundle);
}

void LeaveResourceChain(CResourceBundle* bundle)
{
    auto& chain = Chain();
    chain.erase(std::remove(chain.begin(), chain.end(), bundle), chain.end());
}

namespace {

const CResourceBundle* StringBundle(int id)
{
    return FindBundle([id](const CResourceBundle& b) { return b.HasString(id); });
}

} // namespace

CString LoadResString(int id)
{
    const CResourceBundle* bundle = StringBundle(id);
    return bundle ? bundle->String(id) : CString();
}

CString LoadResSourceString(int id)
{
    const CResourceBundle* bundle = StringBundle(id);
    return bundle ? bundle->SourceString(id) : CString();
}

const TMenuItem* LoadResMenu(int id)
{
    const CResourceBundle* bundle = FindBundle([id](const CResourceBundle& b) { return b.Menu(id) != nullptr; });
    return bundle ? bundle->Menu(id) : nullptr;
}

namespace {

// The file of a bitmap of the current bundle, else of the chain; empty when none has it.
QString ResBitmapPath(int id)
{
    const CResourceBundle* bundle =
        FindBundle([id](const CResourceBundle& b) { return !b.BitmapPath(id).isEmpty(); });
    return bundle ? bundle->BitmapPath(id) : QString();
}

} // namespace

QPixmap LoadResBitmap(int id)
{
    const QString path = ResBitmapPath(id);
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

namespace {

// Cuts a strip into images cx pixels wide, the transparent colour made
// transparent; each image keeps the strip's pixel ratio.
QList<QPixmap> CutStrip(const QPixmap& strip, int cx, QRgb transparent)
{
    QList<QPixmap> images;
    if (strip.isNull() || cx <= 0) return images;
    QImage image = strip.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparent & 0xFFFFFF;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
        }
    }
    for (int x = 0; x + cx <= image.width(); x += cx) {
        QImage cut = image.copy(x, 0, cx, image.height());
        cut.setDevicePixelRatio(strip.devicePixelRatio());
        images.append(QPixmap::fromImage(cut));
    }
    return images;
}

} // namespace

QList<QPixmap> LoadImageList(int bitmapId, int cx, QRgb transparent)
{
    return CutStrip(LoadResBitmap(bitmapId), cx, transparent);
}

QList<QIcon> LoadImageIcons(int bitmapId, int cx, QRgb transparent)
{
    QList<QIcon> icons;
    const QString path = ResBitmapPath(bitmapId);
    if (path.isEmpty()) return icons;
    const QList<QPixmap> small = CutStrip(QPixmap(path), cx, transparent);
    QPixmap strip2x(AtRatio(path, 2));
    strip2x.setDevicePixelRatio(2);
    const QList<QPixmap> large = CutStrip(strip2x, 2 * cx, transparent);
    for (qsizetype i = 0; i < small.size(); ++i) icons.append(ArtIcon(small[i], i < large.size() ? large[i] : QPixmap()));
    return icons;
}

QMenu* CreatePopupMenu(const TMenuItem& menu, QWidget* parent, const char* translationContext)
{
    auto* popup = new QMenu(parent);
    popup->setTitle(Translated(translationContext, menu.text));
    AddMenuEntries(popup, menu.children, translationContext);
    return popup;
}

QAction* FindMenuAction(const QMenu* menu, int id)
{
    return FindActionAndOwner(menu, id).second;
}

void RemoveMenuAction(QMenu* menu, int id)
{
    auto [owner, action] = FindActionAndOwner(menu, id);
    if (!action) return;
    owner->removeAction(action);
    if (action->parent() == owner) delete action;
}

bool EnableMenuAction(QMenu* menu, int id, bool enable)
{
    QAction* action = FindMenuAction(menu, id);
    if (!action) return false;
    action->setEnabled(enable);
    return true;
}

} // namespace tarvolan
