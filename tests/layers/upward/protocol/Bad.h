// A Qt-free header that declares a Qt class to carry its pointer.
#pragma once

class QTreeWidgetItem;

struct TBadItem {
    QTreeWidgetItem* item;
};
