// A host for tests: records every call of slots 5, 6 and 7 with its record
// decoded at once (records live on the sender's stack), and helpers to load
// the module and send it messages.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "protocol/TarvolanAbi.h"

using namespace tarvolan;

namespace testing_support {

struct TSent {
    int senderType = 0;
    int code = 0;
    std::vector<std::string> texts;  // text words in record order
    std::vector<long> ints;          // int words in record order
    std::vector<const void*> ptrs;   // pointer words in record order
    std::string block;               // a byte-exact block (code 2; 20037's request)
};

class CFakeHost : public tarvolan::CHostInterface {
public:
    std::vector<TSent> sent;
    std::vector<std::vector<tarvolan::Word>> relayed4, relayed3;
    std::vector<std::string> relayedTexts;  // texts of slot-6 records (URI, name)
    int result = 0;

    int OnMessage(int senderType, int code, void* record) override
    {
        sent.push_back(Decode(senderType, code, static_cast<const tarvolan::Word*>(record)));
        return result;
    }
    void RelayToHost4(tarvolan::Word a, tarvolan::Word b, tarvolan::Word c, tarvolan::Word d) override
    {
        relayed4.push_back({a, b, c, d});
        if (c) {
            auto* rec = reinterpret_cast<const tarvolan::TMessageWindowRecord*>(c);
            relayedTexts.push_back(Str(rec->memberURI));
            relayedTexts.push_back(Str(rec->displayName));
        }
    }
    void RelayToHost3(tarvolan::Word a, tarvolan::Word b, tarvolan::Word c) override
    {
        relayed3.push_back({a, b, c});
    }

    // Calls with that code, in order.
    std::vector<TSent> Of(int code) const
    {
        std::vector<TSent> out;
        for (const auto& s : sent)
            if (s.code == code) out.push_back(s);
        return out;
    }
    size_t Count(int code) const { return Of(code).size(); }
    // Texts of the log lines sent with 20003.
    std::vector<std::string> LogLines() const
    {
        std::vector<std::string> out;
        for (const auto& s : Of(tarvolan::M_Log)) out.push_back(s.texts.at(0));
        return out;
    }
    void Clear() { sent.clear(); relayed4.clear(); relayed3.clear(); relayedTexts.clear(); }

private:
    static std::string Str(tarvolan::Word w)
    {
        const char* p = reinterpret_cast<const char*>(w);
        return p ? p : "";
    }

    // Word types by code: s text, i int, p pointer.
    static const char* Shape(int code)
    {
        static const std::map<int, const char*> shapes = {
            {1, "s"}, {3, "ss"}, {4, "s"}, {5, "ss"}, {6, "ss"}, {7, "ss"}, {8, "sss"}, {9, "isis"},
            {10, "ssis"}, {11, "ss"}, {12, "s"}, {13, "ssii"}, {14, "ss"}, {15, "ss"}, {16, "ssiss"},
            {17, "siss"}, {18, "sssi"}, {19, "sss"}, {20, "ss"}, {1037, "sip"}, {20003, "sii"},
            {20004, "sii"}, {20008, "iisssssi"}, {20016, "isi"}, {20037, "ip"}, {10001, "iss"},
            {10002, "iss"}};
        auto it = shapes.find(code);
        return it == shapes.end() ? "" : it->second;
    }

    static TSent Decode(int senderType, int code, const tarvolan::Word* w)
    {
        TSent s;
        s.senderType = senderType;
        s.code = code;
        if (!w) return s;
        if (code == tarvolan::M_SaveGroup) {
            s.block.assign(reinterpret_cast<const char*>(w), sizeof(tarvolan::TGroupSettings));
            return s;
        }
        const char* shape = Shape(code);
        for (int i = 0; shape[i]; ++i) {
            if (shape[i] == 's') s.texts.push_back(Str(w[i]));
            else if (shape[i] == 'i') s.ints.push_back(static_cast<long>(w[i]));
            else s.ptrs.push_back(reinterpret_cast<const void*>(w[i]));
        }
        if (code == tarvolan::M_HistoryRequest && w[1])
            s.block.assign(reinterpret_cast<const char*>(w[1]), sizeof(tarvolan::THistoryRequest));
        return s;
    }
};

} // namespace testing_support
