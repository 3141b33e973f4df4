#include "platform/Accessibility.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

namespace tarvolan {

namespace {

QString NameFromLabel(const QString& labelText)
{
    QString name;
    name.reserve(labelText.size());
    for (qsizetype i = 0; i < labelText.size(); ++i) {
        if (labelText[i] == QLatin1Char('&') && i + 1 < labelText.size()) ++i;  // "&&" stays one '&'
        name += labelText[i];
    }
    static const QString colons = QStringLiteral(":：");
    while (!name.isEmpty() && (colons.contains(name.back()) || name.back().isSpace())) name.chop(1);
    return name;
}

} // namespace

void NameControlsFromLabels(QWidget* window)
{
    if (!window) return;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        QWidget* buddy = label->buddy();
        if (buddy && buddy->accessibleName().isEmpty()) buddy->setAccessibleName(NameFromLabel(label->text()));
    }
    for (QTreeWidget* tree : window->findChildren<QTreeWidget*>()) {
        QTreeWidgetItem* header = tree->headerItem();
        if (tree->isHeaderHidden() && header && tree->columnCount() == 1 && !tree->accessibleName().isEmpty())
            header->setText(0, tree->accessibleName());
    }
}

void NameWindowAfter(QWidget* window, const QString& subject)
{
    if (!window) return;
    window->setAccessibleName(subject.isEmpty() ? QString() : window->windowTitle() + QStringLiteral(" - ") + subject);
}

} // namespace tarvolan
