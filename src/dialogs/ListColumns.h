// The list views of the group information window: columns by string id and
// width, and a cell's text as a list shows it.
#pragma once

#include <initializer_list>

#include <QTreeWidget>

#include "common/GbkString.h"
#include "platform/Window.h"
#include "res/ModuleResources.h"

namespace tarvolan {

// Header text (string id) and width of a column.
struct TColumn {
    int textId;
    int width;
};

inline void SetListColumns(QTreeWidget& view, std::initializer_list<TColumn> columns)
{
    QStringList headers;
    for (const TColumn& c : columns) headers << ToQt(LoadResString(c.textId));
    view.setColumnCount(static_cast<int>(columns.size()));
    view.setHeaderLabels(headers);
    int i = 0;
    for (const TColumn& c : columns) view.setColumnWidth(i++, c.width);
}

// A cell shows the readable start of a text however long the host made it.
inline QString ListCell(const CString& text)
{
    return ShownPart(ToQt(text));
}

} // namespace tarvolan
