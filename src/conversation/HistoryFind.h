// What the history viewer's find bar searches: the messages of the page.
// A match is a message whose text holds the search text; moving to it
// selects its row and shows it, every occurrence highlighted in the message
// box and the first one selected there.
#pragma once

#include <vector>

#include "conversation/FindBar.h"

namespace tarvolan {

class CTarvolanHistoryDialog;

class CHistoryFindTarget : public IFindTarget {
public:
    explicit CHistoryFindTarget(CTarvolanHistoryDialog& viewer);
    int Search(const QString& text) override;
    QString ShowMatch(int index) override;
    void EndSearch() override;

private:
    CTarvolanHistoryDialog& m_viewer;
    CTextFindTarget m_message;
    QString m_text;
    std::vector<int> m_rows;  // the rows that match, top down
};

} // namespace tarvolan
