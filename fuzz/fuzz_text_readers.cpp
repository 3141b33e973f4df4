// libFuzzer target for the readers below the windows: the markup of group
// messages, the tag reader of XML bodies, GBK text handling, emoticon codes,
// URI fields, Internet times and ini files. These take text from the host,
// from peers and from files on disk; they use only the standard library, so
// this target runs many thousands of inputs a second where the whole module
// runs tens. The first byte chooses the reader, the rest is its text. Besides
// memory errors (the sanitizers), a few properties every text must keep are
// checked; a broken one aborts.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/Emoticons.h"
#include "common/GbkString.h"
#include "common/MessageMarkup.h"
#include "common/TagReader.h"
#include "common/TextFunctions.h"
#include "common/TimeText.h"
#include "platform/Ini.h"

using namespace tarvolan;

namespace {

void Require(bool holds, const char* what)
{
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

bool EndsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

void ReadMarkup(const CString& text)
{
    const TMessageMarkup markup = ReadMessageMarkup(text);
    Require(EndsWith(text.view(), markup.text.view()), "markup text is the message's tail");
    Require(EndsWith(text.view(), StripPropertyElement(text).view()), "stripped text is the message's tail");
    const CString rebuilt = BuildPropertyElement(&markup.format) + markup.text;
    Require(ReadMessageMarkup(rebuilt).text == markup.text, "a rebuilt message shows the same text");
    (void)WithPresetElement(text, static_cast<int>(text.GetLength() % 5) - 1);
}

// Walks the whole document: every element's first attributes and text, depth
// first, by the moves the module makes.
void WalkElements(CTagReader& reader, int depth)
{
    CString value;
    for (const char* name : {"property", "JID", "GroupID", "size", "face", "color"})
        (void)reader.GetAttribute(name, value);
    (void)reader.GetText(value);
    if (depth < 64 && reader.IntoElement()) {
        WalkElements(reader, depth + 1);
        Require(reader.OutOfElement(), "a child leads back to its parent");
    }
}

void ReadTags(std::string_view text)
{
    CTagReader reader;
    if (!reader.Load(text)) return;
    WalkElements(reader, 0);
    for (const char* name : {"JID", "GroupID", "property", ""}) {
        reader.ResetPos();
        (void)reader.FindElement(name);
    }
    (void)reader.Load(text.substr(text.size() / 2));  // a second document in the same pool
}

void ReadGbk(const CString& text)
{
    for (size_t limit : {size_t{0}, size_t{1}, text.view().size() / 2, text.view().size()}) {
        const std::string_view prefix = GbkPrefix(text.view(), limit);
        Require(prefix.size() <= limit, "a prefix keeps within its limit");
        Require(IsCharBoundary(text.view(), prefix.size()), "a prefix ends on a character");
    }
    const std::string utf8 = GbkToUtf8(text.view());
    (void)Utf8ToGbk(utf8);
    (void)Utf8ToGbk(text.view());  // the bytes read as UTF-8
    // Entities are replaced one kind after the other over the whole text, so
    // a text that holds "&" may come back unescaped twice; any other comes back.
    if (text.view().find('&') == std::string_view::npos)
        Require(XmlUnescape(XmlEscape(text)) == text, "escaping is undone by unescaping");
    (void)XmlUnescape(text);
}

void ReadEmoticons(std::string_view text)
{
    size_t next = 0;
    ForEachEmoticonRun(text, [&](const TEmoticonRun& run) {
        Require(run.pos == next && run.length > 0, "runs follow each other");
        next = run.pos + run.length;
    });
    Require(next == text.size(), "runs cover the text");
    TTypedEmoticon typed;
    if (FindTypedEmoticon(text, typed)) Require(typed.pos + typed.length <= text.size(), "a code lies in the text");
    (void)EmoticonCodeEndingAt(text, text.size());
    (void)EmoticonCodeEndingAt(text, text.size() / 2);
}

void ReadUri(const CString& text)
{
    for (int part = URI_ADDRESS; part <= URI_SCHEME_USER; ++part) (void)GetURIField(text, part);
    (void)InternetTimeToLocalString(text);
}

// The ini file the reader is given; it goes when the process ends.
struct TScratchFile {
    std::string path = "/tmp/fuzz-text-readers-" + std::to_string(getpid()) + ".ini";
    ~TScratchFile() { std::remove(path.c_str()); }
};

void ReadIni(std::string_view text)
{
    static const TScratchFile scratch;
    const std::string& path = scratch.path;
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
    for (const char* section : {"Main", "main", "", "[x]"})
        for (const char* key : {"Value", "value", "", "="})
            (void)GetPrivateProfileInt(section, key, -7, path.c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const CString cs{std::string(text)};
    switch (data[0] % 6) {
    case 0: ReadMarkup(cs); break;
    case 1: ReadTags(text); break;
    case 2: ReadGbk(cs); break;
    case 3: ReadEmoticons(text); break;
    case 4: ReadUri(cs); break;
    default: ReadIni(text); break;
    }
    return 0;
}
