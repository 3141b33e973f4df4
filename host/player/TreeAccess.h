// Reading and clicking the module's group tree as a user would: items are
// found by their path of texts, snapshots list what each row shows, and
// clicks are mouse events on the item's label. Lines of list boxes and whole
// controls are clicked the same way.
#pragma once

#include <QJsonArray>
#include <QString>

class QAbstractItemView;
class QJsonValue;
class QModelIndex;
class QPoint;
class QTreeWidget;
class QWidget;
class QTreeWidgetItem;

namespace host {

// Every row: {"text", "kind", "bold", "color" ("#rrggbb" or null for the
// default), "icon" (image index, -1 for none), "expanded", "selected",
// "children": [...]}.
QJsonArray SnapshotTree(const QTreeWidget* tree);

// The item at the end of the path of texts (from a top-level item down);
// null with *why naming the missing text and what is there instead.
QTreeWidgetItem* FindTreeItem(QTreeWidget* tree, const QJsonArray& path, QString* why);

enum class EClick { Left, Right, Double };
// Mouse events on the item's label (the pointer is moved there first).
// False with *why when the item cannot be shown.
bool ClickTreeItem(QTreeWidget* tree, QTreeWidgetItem* item, EClick click, QString* why);

// Mouse events at pos of widget (the pointer is moved there first).
void ClickAt(QWidget* widget, const QPoint& pos, EClick click);
// The same on the middle of a control (of its viewport, for a scrolled one).
void ClickWidget(QWidget* control, EClick click);
// The line of a list box by its row (from 0) or its text; invalid with *why.
QModelIndex FindLine(const QAbstractItemView* view, const QJsonValue& line, QString* why);
// Mouse events on the middle of the line, scrolled into view first.
bool ClickLine(QAbstractItemView* view, const QModelIndex& line, EClick click, QString* why);

// Rests the pointer on the item's label: a move there, then the tooltip
// request. *tip is the tooltip shown then ("" when none); it is hidden
// again. False with *why when the item cannot be shown.
bool HoverTreeItem(QTreeWidget* tree, QTreeWidgetItem* item, QString* tip, QString* why);
// The same on the middle of a widget.
QString HoverWidget(QWidget* widget);

} // namespace host
