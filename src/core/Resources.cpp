#include "core/Resources.h"

#include "core/ResourceIds.h"
#include "core/RunState.h"
#include "core/neutral/BoundedText.h"
#include "core/neutral/HeapText.h"

#include <cstdlib>
#include <cstring>

namespace {

// Plain copies (made-plain scrambled resources and terminated copies of texts
// stored without terminator). A handful of entries at most.
struct PlainCopy {
    unsigned id;
    bool isText;  // a terminated copy made by ResourceText
    std::size_t size;
    unsigned char* data;  // size bytes plus a zero byte; kept until exit
};

constexpr int kMaxPlainCopies = 96;
PlainCopy g_copies[kMaxPlainCopies];
int g_copyCount = 0;

PlainCopy* FindCopy(unsigned id, bool isText) {
    for (int i = 0; i < g_copyCount; ++i)
        if (g_copies[i].id == id && g_copies[i].isText == isText) return &g_copies[i];
    return nullptr;
}

PlainCopy* AddCopy(unsigned id, bool isText, const void* data, std::size_t size) {
    if (g_copyCount == kMaxPlainCopies) return nullptr;
    auto* bytes = static_cast<unsigned char*>(std::calloc(size + 1, 1));
    if (!bytes) return nullptr;
    if (size) std::memcpy(bytes, data, size);
    g_copies[g_copyCount] = PlainCopy{id, isText, size, bytes};
    return &g_copies[g_copyCount++];
}

HRSRC FindItem(unsigned id) {
    return FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
}

}  // namespace

const void* LoadResourceData(unsigned id) {
    if (PlainCopy* copy = FindCopy(id, false)) return copy->data;
    HRSRC item = FindItem(id);
    if (!item) return nullptr;
    HGLOBAL loaded = LoadResource(nullptr, item);
    return loaded;  // on Win32 the handle is the data's address
}

std::size_t ResourceSize(unsigned id) {
    if (PlainCopy* copy = FindCopy(id, false)) return copy->size;
    HRSRC item = FindItem(id);
    return item ? SizeofResource(nullptr, item) : 0;
}

const char* ResourceText(unsigned id) {
    const void* data = LoadResourceData(id);
    if (!data) return nullptr;
    std::size_t size = ResourceSize(id);
    std::size_t length = BoundedTextLength(data, size);
    // Terminated in place, or a plain copy (those always carry a zero byte).
    if (length < size || FindCopy(id, false)) return static_cast<const char*>(data);
    if (PlainCopy* copy = FindCopy(id, true)) return reinterpret_cast<const char*>(copy->data);
    PlainCopy* copy = AddCopy(id, true, data, length);
    return copy ? reinterpret_cast<const char*>(copy->data) : "";
}

bool SetPlainResource(unsigned id, const void* data, std::size_t size) {
    for (int i = 0; i < g_copyCount; ++i) {
        if (g_copies[i].id == id) {  // replace an earlier copy of either kind
            std::free(g_copies[i].data);
            g_copies[i] = g_copies[--g_copyCount];
            --i;
        }
    }
    return AddCopy(id, false, data, size) != nullptr;
}

void SetControlText(HWND window, int controlId, unsigned resourceId) {
    const char* text = ResourceText(resourceId);
    SetDlgItemTextA(window, controlId, text ? text : "");
}

void SetPageTitle(HWND window, unsigned resourceId) {
    const char* title = ResourceText(ResPatchTitle);
    const char* page = ResourceText(resourceId);
    if (!title) title = "";
    if (!page) page = "";
    std::size_t titleLength = std::strlen(title);
    std::size_t pageLength = std::strlen(page);
    HeapText combined = AllocText(titleLength + pageLength + 4);
    if (!combined) return;
    std::memcpy(combined.get(), title, titleLength);
    std::memcpy(combined.get() + titleLength, " - ", 3);
    std::memcpy(combined.get() + titleLength + 3, page, pageLength);
    SetWindowTextA(window, combined.get());
}

const char* ComposeError(unsigned firstId, unsigned secondId, const char* path, unsigned lastId) {
    RunState.ErrorText.reset();
    const char* first = ResourceText(firstId);
    const char* second = secondId ? ResourceText(secondId) : nullptr;
    const char* last = lastId ? ResourceText(lastId) : nullptr;
    if (!first) first = "";
    if (!path) path = "";
    std::size_t size = std::strlen(first) + (second ? std::strlen(second) : 0) +
                       (last ? std::strlen(last) : 0) + std::strlen(path) + 32;
    HeapText text = AllocText(size);
    if (!text) return nullptr;
    char* out = text.get();
    auto put = [&out](const char* part) {
        std::size_t n = std::strlen(part);
        std::memcpy(out, part, n);
        out += n;
    };
    put(first);
    *out++ = '\n';
    if (second) put(second);
    put(path);
    *out++ = '\n';
    if (last) put(last);
    RunState.ErrorText = std::move(text);
    return RunState.ErrorText.get();
}
