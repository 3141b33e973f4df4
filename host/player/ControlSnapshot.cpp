#include "player/ControlSnapshot.h"

#include <algorithm>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTextBlock>
#include <QTextEdit>
#include <QTreeView>
#include <QUrl>

#include "platform/Window.h"

using namespace tarvolan;

namespace host {

namespace {

// The scheme of the resource names of the module's emoticon pictures.
constexpr char kPictureScheme[] = "emoticon";

// A control of this window: it is not inside another window (a dialog owned
// by this one, for example).
bool BelongsTo(const QWidget* control, const QWidget* window)
{
    for (const QWidget* w = control->parentWidget(); w; w = w->parentWidget()) {
        if (w == window) return true;
        if (w->isWindow()) return false;
    }
    return false;
}

QString KindOf(const QWidget* control)
{
    if (qobject_cast<const QTreeView*>(control)) return QStringLiteral("tree");
    if (qobject_cast<const QTableView*>(control)) return QStringLiteral("table");
    if (qobject_cast<const QListView*>(control)) return QStringLiteral("list");
    if (qobject_cast<const QComboBox*>(control)) return QStringLiteral("combo");
    if (qobject_cast<const QTextEdit*>(control) || qobject_cast<const QPlainTextEdit*>(control))
        return QStringLiteral("textedit");
    if (qobject_cast<const QLineEdit*>(control)) return QStringLiteral("edit");
    if (qobject_cast<const QCheckBox*>(control)) return QStringLiteral("check");
    if (qobject_cast<const QRadioButton*>(control)) return QStringLiteral("radio");
    if (qobject_cast<const QAbstractButton*>(control)) return QStringLiteral("button");
    if (qobject_cast<const QLabel*>(control)) return QStringLiteral("label");
    if (qobject_cast<const QGroupBox*>(control)) return QStringLiteral("group");
    if (qobject_cast<const QAbstractSpinBox*>(control)) return QStringLiteral("spin");
    QString name = QLatin1String(control->metaObject()->className());
    return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
}

// The lines of a one-column model and the current row.
void AddLines(QJsonObject& entry, const QAbstractItemModel* model, int current)
{
    QJsonArray lines;
    for (int row = 0; model && row < model->rowCount(); ++row) lines.append(model->index(row, 0).data().toString());
    entry["lines"] = lines;
    entry["selected"] = current;
}

// A list box: its lines, the current row (where the keyboard is) and the
// selected row apart; -1 for none.
void AddListLines(QJsonObject& entry, const QListView* list)
{
    const QModelIndexList selected = list->selectionModel() ? list->selectionModel()->selectedRows() : QModelIndexList();
    int first = -1;
    for (const QModelIndex& index : selected) first = first < 0 ? index.row() : std::min(first, index.row());
    AddLines(entry, list->model(), first);
    entry["current"] = list->currentIndex().isValid() ? list->currentIndex().row() : -1;
}

QJsonArray Rows(const QAbstractItemView* view, const QModelIndex& parent)
{
    const QAbstractItemModel* model = view->model();
    const auto* tree = qobject_cast<const QTreeView*>(view);
    QJsonArray rows;
    for (int row = 0; row < model->rowCount(parent); ++row) {
        QJsonArray cells;
        for (int column = 0; column < model->columnCount(parent); ++column)
            cells.append(model->index(row, column, parent).data().toString());
        const QModelIndex index = model->index(row, 0, parent);
        QJsonObject entry{{"cells", cells},
                          {"selected", view->selectionModel() && view->selectionModel()->isRowSelected(row, parent)}};
        if (model->hasChildren(index)) {
            entry["expanded"] = tree && tree->isExpanded(index);
            entry["children"] = Rows(view, index);
        }
        rows.append(entry);
    }
    return rows;
}

void AddRows(QJsonObject& entry, const QAbstractItemView* view)
{
    QJsonArray columns;
    const QHeaderView* header = nullptr;
    if (auto* tree = qobject_cast<const QTreeView*>(view)) header = tree->header();
    if (auto* table = qobject_cast<const QTableView*>(view)) header = table->horizontalHeader();
    const QAbstractItemModel* model = view->model();
    for (int column = 0; model && column < model->columnCount(); ++column)
        columns.append(model->headerData(column, Qt::Horizontal).toString());
    entry["columns"] = header && !header->isHidden() ? columns : QJsonArray();
    entry["rows"] = model ? Rows(view, QModelIndex()) : QJsonArray();
}

QJsonObject SnapshotControl(const QWidget* control, const QWidget* window)
{
    QJsonObject entry{{"kind", KindOf(control)},
                      {"text", ToQt(GetControlText(control))},
                      {"enabled", control->isEnabled()},
                      {"visible", control->isVisibleTo(window)}};
    if (auto* button = qobject_cast<const QAbstractButton*>(control); button && button->isCheckable())
        entry["checked"] = button->isChecked();
    if (auto* combo = qobject_cast<const QComboBox*>(control)) AddLines(entry, combo->model(), combo->currentIndex());
    if (auto* list = qobject_cast<const QListView*>(control)) AddListLines(entry, list);
    if (qobject_cast<const QTreeView*>(control) || qobject_cast<const QTableView*>(control))
        AddRows(entry, qobject_cast<const QAbstractItemView*>(control));
    return entry;
}

// The emoticon index of a picture's resource name; -1 for none.
int PictureIndex(const QTextCharFormat& format)
{
    const QUrl name(format.toImageFormat().name());
    bool ok = false;
    const int index = name.path().toInt(&ok);
    return name.scheme() == QLatin1String(kPictureScheme) && ok ? index : -1;
}

QJsonObject RunFormat(const QTextCharFormat& format, const QFont& base)
{
    const QFont font = format.font().resolve(base);
    const QBrush brush = format.foreground();
    return {{"face", font.family()},
            {"size", font.pointSizeF()},
            {"color", brush.style() == Qt::NoBrush ? QJsonValue(QJsonValue::Null) : QJsonValue(brush.color().name())},
            {"bold", font.bold()},
            {"italic", font.italic()},
            {"underline", font.underline()}};
}

// Collects the text, the pictures and the runs; a run goes on while the
// format stays the same.
class CConversationReader {
public:
    explicit CConversationReader(const QFont& base) : m_base(base) {}

    void AddText(const QString& text, const QTextCharFormat& format)
    {
        m_text += text;
        QJsonObject run = RunFormat(format, m_base);
        if (!m_runs.isEmpty() && m_lastFormat == run) return AppendToLastRun(text);
        m_lastFormat = run;
        run["text"] = text;
        m_runs.append(run);
    }

    // A paragraph's end goes with the run before it.
    void AddLineEnd(const QTextCharFormat& blockFormat)
    {
        if (m_runs.isEmpty() || m_lastFormat.isEmpty()) return AddText(QStringLiteral("\n"), blockFormat);
        m_text += QLatin1Char('\n');
        AppendToLastRun(QStringLiteral("\n"));
    }

    void AddPicture(int index)
    {
        m_text += PictureMarker(index);
        m_pictures.append(index);
        m_runs.append(QJsonObject{{"picture", index}});
        m_lastFormat = QJsonObject();
    }

    QJsonObject Result() const { return {{"text", m_text}, {"pictures", m_pictures}, {"runs", m_runs}}; }

private:
    void AppendToLastRun(const QString& text)
    {
        QJsonObject last = m_runs.last().toObject();
        last["text"] = last.value("text").toString() + text;
        m_runs[m_runs.size() - 1] = last;
    }

    QFont m_base;
    QString m_text;
    QJsonArray m_pictures;
    QJsonArray m_runs;
    QJsonObject m_lastFormat;
};

void ReadBlock(const QTextBlock& block, CConversationReader& reader)
{
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        if (!format.isImageFormat()) {
            reader.AddText(fragment.text(), format);
            continue;
        }
        for (qsizetype i = 0; i < fragment.text().size(); ++i) reader.AddPicture(PictureIndex(format));
    }
}

} // namespace

QString PictureMarker(int emoticonIndex)
{
    return emoticonIndex < 0 ? QStringLiteral("[picture]") : QStringLiteral("[emoticon %1]").arg(emoticonIndex);
}

QWidget* FindOwnControl(const QWidget* window, int id)
{
    for (QWidget* control : window->findChildren<QWidget*>(QStringLiteral("id%1").arg(id)))
        if (BelongsTo(control, window)) return control;
    return nullptr;
}

QJsonObject SnapshotWindow(const QWidget* window)
{
    QJsonObject controls;
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        const int id = ControlId(control);
        if (id != 0 && BelongsTo(control, window)) controls[QString::number(id)] = SnapshotControl(control, window);
    }
    const QRect geometry = window->geometry();
    return {{"shown", window->isVisible()},   {"caption", window->windowTitle()}, {"x", geometry.x()},
            {"y", geometry.y()},              {"width", geometry.width()},      {"height", geometry.height()},
            {"controls", controls}};
}

QJsonObject SnapshotConversation(const QTextEdit* editor)
{
    const QTextDocument* document = editor->document();
    CConversationReader reader(document->defaultFont());
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        ReadBlock(block, reader);
        if (block.next().isValid()) reader.AddLineEnd(block.charFormat());
    }
    return reader.Result();
}

} // namespace host
