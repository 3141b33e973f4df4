// A small element-and-attribute reader for the markup of group messages and
// for short XML bodies. It parses its own copy of the text in place: every
// "<" and ">" of a tag becomes a terminator, so each element's tag text
// (name first, then its attributes) is a zero-terminated string of the copy.
#pragma once

#include "common/GbkString.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarvolan {

class CTagReader {
public:
    static constexpr int kNodesPerBlock = 1024;
    // Longest token (name or value) that is read; longer ones are cut.
    static constexpr size_t kMaxTokenLength = 26000 - 1;

    CTagReader();
    ~CTagReader();
    CTagReader(const CTagReader&) = delete;
    CTagReader& operator=(const CTagReader&) = delete;

    // Copies the text and parses the copy, discarding the previous document.
    // False when a "<" has no ">"; then there is no current element. After a
    // successful parse the first top-level element is current.
    bool Load(std::string_view text);
    // Moves to the first element named name among the current element and its
    // following siblings. When none matches, no element is current.
    bool FindElement(const char* name);
    // Value of the current element's attribute name; false and empty when the
    // attribute is absent or no element is current.
    bool GetAttribute(const char* name, CString& value) const;
    // Text behind the current element's start tag, blanks around it trimmed;
    // false when the element has children or no element is current.
    bool GetText(CString& text) const;

    // Makes the first top-level element current again.
    void ResetPos();
    // Makes the current element's first child current; false (nothing moves)
    // when it has none.
    bool IntoElement();
    // Makes the current element's parent current; false at the top level.
    bool OutOfElement();

    // Pool blocks allocated so far (kept across loads).
    int PoolBlockCount() const { return static_cast<int>(m_Blocks.size()); }
    // Elements of the current document.
    int ElementCount() const { return m_nUsedNodes; }

private:
    struct TNode {
        TNode* pNext;
        TNode* pChild;
        TNode* pParent;
        const char* pTag;   // name first, then the attributes
        const char* pText;  // behind the start tag; null for "<name/>"
    };
    struct TBlock {
        TNode nodes[kNodesPerBlock];
    };

    void ResetPool();
    TNode* NewNode();
    bool Parse();
    // Tokens of the current element's tag text, read once per element.
    const std::vector<std::string_view>& CurrentTokens() const;

    std::string m_strDoc;
    std::vector<std::unique_ptr<TBlock>> m_Blocks;
    int m_nUsedNodes = 0;
    TNode* m_pFirst = nullptr;
    TNode* m_pCurrent = nullptr;
    mutable const TNode* m_pTokenized = nullptr;
    mutable std::vector<std::string_view> m_Tokens;
};

} // namespace tarvolan
