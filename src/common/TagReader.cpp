#include "common/TagReader.h"

#include <cstring>

namespace tarvolan {

namespace {

// Byte classes of tag text: blanks, separators between tokens (the blanks and
// "="), and the bytes that end an unquoted token (separators and terminator).
struct TByteClasses {
    bool blank[256] = {};
    bool separator[256] = {};
    bool tokenEnd[256] = {};
    constexpr TByteClasses()
    {
        for (unsigned char c : {' ', '\t', '\n', '\r'}) blank[c] = true;
        for (int c = 0; c < 256; ++c) separator[c] = tokenEnd[c] = blank[c] || c == '=';
        tokenEnd[0] = true;
    }
};
constexpr TByteClasses kClasses;

bool IsSeparator(char c)
{
    return kClasses.separator[static_cast<unsigned char>(c)];
}

bool EndsToken(char c)
{
    return kClasses.tokenEnd[static_cast<unsigned char>(c)];
}

// Reads the tokens of a zero-terminated tag text one after the other. A token
// in double quotes or apostrophes runs to the next same quote (no escapes);
// any other token runs to the next blank, line break, tab or "=".
class CTokenCursor {
public:
    explicit CTokenCursor(const char* tag) : m_p(tag) {}

    bool Next(std::string_view& token)
    {
        while (IsSeparator(*m_p)) ++m_p;
        if (!*m_p) return false;
        const char* start = m_p;
        if (*m_p == '"' || *m_p == '\'') {
            const char quote = *m_p++;
            start = m_p;
            while (*m_p && *m_p != quote) ++m_p;
            token = std::string_view(start, static_cast<size_t>(m_p - start));
            if (*m_p) ++m_p;
        } else {
            while (!EndsToken(*m_p)) ++m_p;
            token = std::string_view(start, static_cast<size_t>(m_p - start));
        }
        token = token.substr(0, CTagReader::kMaxTokenLength);
        return true;
    }

private:
    const char* m_p;
};

std::string_view FirstToken(const char* tag)
{
    std::string_view token;
    CTokenCursor(tag).Next(token);
    return token;
}

bool IsBlank(char c)
{
    return kClasses.blank[static_cast<unsigned char>(c)];
}

} // namespace

CTagReader::CTagReader() = default;
CTagReader::~CTagReader() = default;

void CTagReader::ResetPool()
{
    m_nUsedNodes = 0;
    m_pFirst = nullptr;
    m_pCurrent = nullptr;
    m_pTokenized = nullptr;
}

CTagReader::TNode* CTagReader::NewNode()
{
    const size_t block = static_cast<size_t>(m_nUsedNodes / kNodesPerBlock);
    if (block == m_Blocks.size()) m_Blocks.push_back(std::make_unique_for_overwrite<TBlock>());
    TNode* node = &m_Blocks[block]->nodes[m_nUsedNodes % kNodesPerBlock];
    ++m_nUsedNodes;
    *node = TNode{};
    return node;
}

bool CTagReader::Load(std::string_view text)
{
    ResetPool();
    m_strDoc.assign(text);
    if (!Parse()) {
        m_pFirst = nullptr;
        return false;
    }
    m_pCurrent = m_pFirst;
    return true;
}

bool CTagReader::Parse()
{
    char* p = m_strDoc.data();
    char* const end = p + m_strDoc.size();
    TNode* parent = nullptr;  // element whose children are being read
    TNode* last = nullptr;    // previous element of the current level

    for (;;) {
        char* lt = static_cast<char*>(std::memchr(p, '<', static_cast<size_t>(end - p)));
        if (!lt) return true;
        *lt = '\0';
        char* gt = static_cast<char*>(std::memchr(lt + 1, '>', static_cast<size_t>(end - lt - 1)));
        if (!gt) return false;
        *gt = '\0';
        p = gt + 1;

        const char kind = lt[1];
        if (kind == '!' || kind == '?') continue;  // comment or declaration
        if (kind == '/') {
            // An end tag closes the current level whatever its name; one at
            // the top level ends the document.
            if (!parent) return true;
            last = parent;
            parent = parent->pParent;
            continue;
        }

        TNode* node = NewNode();
        node->pTag = lt + 1;
        node->pParent = parent;
        if (last) last->pNext = node;
        else if (parent) parent->pChild = node;
        else m_pFirst = node;

        if (gt > lt + 1 && gt[-1] == '/') {
            gt[-1] = '\0';  // "<name/>": no children, no text
            last = node;
        } else {
            node->pText = gt + 1;
            parent = node;
            last = nullptr;
        }
    }
}

bool CTagReader::FindElement(const char* name)
{
    if (!name) return false;
    const std::string_view key(name);
    for (; m_pCurrent; m_pCurrent = m_pCurrent->pNext) {
        if (FirstToken(m_pCurrent->pTag) == key) return true;
    }
    return false;
}

const std::vector<std::string_view>& CTagReader::CurrentTokens() const
{
    if (m_pTokenized != m_pCurrent) {
        m_Tokens.clear();
        CTokenCursor cursor(m_pCurrent->pTag);
        std::string_view token;
        while (cursor.Next(token)) m_Tokens.push_back(token);
        m_pTokenized = m_pCurrent;
    }
    return m_Tokens;
}

bool CTagReader::GetAttribute(const char* name, CString& value) const
{
    value.Empty();
    if (!m_pCurrent || !name) return false;
    const std::string_view key(name);
    const std::vector<std::string_view>& tokens = CurrentTokens();
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i] != key) continue;
        if (i + 1 < tokens.size()) value = CString(tokens[i + 1]);
        return true;
    }
    return false;
}

bool CTagReader::GetText(CString& text) const
{
    text.Empty();
    if (!m_pCurrent || m_pCurrent->pChild) return false;
    if (!m_pCurrent->pText) return true;
    std::string_view s(m_pCurrent->pText);
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    text = CString(s);
    return true;
}

void CTagReader::ResetPos()
{
    m_pCurrent = m_pFirst;
}

bool CTagReader::IntoElement()
{
    if (!m_pCurrent || !m_pCurrent->pChild) return false;
    m_pCurrent = m_pCurrent->pChild;
    return true;
}

bool CTagReader::OutOfElement()
{
    if (!m_pCurrent || !m_pCurrent->pParent) return false;
    m_pCurrent = m_pCurrent->pParent;
    return true;
}

} // namespace tarvolan
