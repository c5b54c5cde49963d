// Items, the System topic's list items and topics.
#include <cstring>

#include "connections/dde/win32/dde_library.h"

namespace {

const WORD kTextFormats[] = {CF_TEXT, 0};
constexpr int kMaxFormats = 100;

BOOL GiveText(const std::string& text, const void** data, DWORD* size) {
    *data = text.c_str();
    *size = static_cast<DWORD>(text.size() + 1);
    return TRUE;
}

// The names of a list of items, separated by TAB.
std::string JoinItemNames(const CDDETopic* topic) {
    std::string text;
    if (!topic) return text;
    for (const CDDEItem* item : topic->Items()) {
        if (!text.empty()) text += '\t';
        text += item->Name();
    }
    return text;
}

}  // namespace

BOOL CDDEItem::IsSupportedFormat(UINT format) {
    const WORD* formats = GetFormatList();
    if (!formats) return FALSE;
    for (; *formats; ++formats)
        if (*formats == format) return TRUE;
    return FALSE;
}

BOOL CDDEStringItem::Request(UINT, const void** data, DWORD* size) { return GiveText(text_, data, size); }

BOOL CDDEStringItem::Poke(UINT, const void* data, DWORD size) {
    // Poked data need not end with a NUL: read no further than its size.
    const char* text = static_cast<const char*>(data);
    const void* nul = text ? std::memchr(text, 0, size) : nullptr;
    std::size_t length = !text ? 0 : nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : size;
    text_.assign(text ? text : "", length);
    OnPoke();
    return TRUE;
}

const WORD* CDDEStringItem::GetFormatList() { return kTextFormats; }

void CDDEStringItem::SetData(const char* text) {
    text_ = text ? text : "";
    CDDETopic* topic = Topic();
    if (topic && topic->Server()) topic->Server()->PostAdvise(topic, this);
}

const WORD* CDDESystemItem::GetFormatList() { return kTextFormats; }

BOOL CDDESystemItem_TopicList::Request(UINT, const void** data, DWORD* size) {
    static std::string text;
    text.clear();
    CDDEServer* server = Topic() ? Topic()->Server() : nullptr;
    if (server) {
        for (const CDDETopic* topic : server->Topics()) {
            if (!text.empty()) text += '\t';
            text += topic->Name();
        }
    }
    return GiveText(text, data, size);
}

BOOL CDDESystemItem_ItemList::Request(UINT, const void** data, DWORD* size) {
    static std::string text;
    text = JoinItemNames(Topic());
    return GiveText(text, data, size);
}

BOOL CDDESystemItem_FormatList::Request(UINT, const void** data, DWORD* size) {
    static std::string text;
    text.clear();
    std::vector<WORD> seen;
    if (Topic()) {
        for (CDDEItem* item : Topic()->Items()) {
            for (const WORD* f = item->GetFormatList(); f && *f; ++f) {
                bool known = false;
                for (WORD s : seen) known = known || s == *f;
                if (known || seen.size() >= kMaxFormats) continue;
                seen.push_back(*f);
                if (!text.empty()) text += '\t';
                text += FormatName(*f);
            }
        }
    }
    return GiveText(text, data, size);
}

BOOL CDDETopic::AddItem(CDDEItem* item) {
    for (CDDEItem* held : items_)
        if (held == item) return TRUE;
    items_.push_back(item);
    item->SetTopic(this);
    return TRUE;
}

CDDEItem* CDDETopic::FindItem(const char* name) {
    for (CDDEItem* item : items_)
        if (lstrcmpiA(item->Name().c_str(), name) == 0) return item;
    return nullptr;
}

BOOL CDDETopic::Request(UINT format, const char* itemName, const void** data, DWORD* size) {
    CDDEItem* item = FindItem(itemName);
    return item ? item->Request(format, data, size) : FALSE;
}

BOOL CDDETopic::Poke(UINT format, const char* itemName, const void* data, DWORD size) {
    CDDEItem* item = FindItem(itemName);
    return item ? item->Poke(format, data, size) : FALSE;
}

BOOL CDDETopic::CanAdvise(UINT format, const char* itemName) {
    CDDEItem* item = FindItem(itemName);
    return item ? item->CanAdvise(format) : FALSE;
}

BOOL CDDEServerSystemTopic::Request(UINT format, const char* itemName, const void** data, DWORD* size) {
    if (Server()) Server()->Status("System topic request: %s\n", itemName);
    return CDDETopic::Request(format, itemName, data, size);
}
