#include "common/dialog_localizer.h"

#include "common/dialog_template.h"

namespace moltr::common {

namespace {

// Longest text taken from the string table for one caption or control.
constexpr UINT kTextSize = 256;

// `stored` as the text mode wants it; `loaded` holds a loaded text while it is written.
TemplateName ChooseText(const TemplateName& stored, UINT id, UINT textMode, TemplateTexts& texts,
                        WCHAR (&loaded)[kTextSize]) {
    if (stored.ordinal || textMode == kTemplateTextsStored) {
        return stored;
    }
    TemplateName text;
    if (textMode == kTemplateTextsLoaded && texts.Load(id, loaded, kTextSize)) {
        text.text = reinterpret_cast<const BYTE*>(loaded);
        text.length = static_cast<UINT>(lstrlenW(loaded));
    }
    return text;
}

} // namespace

DWORD LocalizeDialogTemplate(const void* source, DWORD sourceSize, UINT dialogId, UINT textMode,
                             bool mirror, TemplateTexts& texts, BYTE* buffer, DWORD capacity) {
    DialogTemplateReader reader(source, sourceSize);
    DialogTemplateWriter writer(buffer, capacity);
    WCHAR loaded[kTextSize];
    DialogHeader header;
    if (!reader.ReadHeader(&header)) {
        return 0;
    }
    if (mirror && header.extended) {
        header.exStyle |= WS_EX_LAYOUTRTL;
    }
    header.caption = ChooseText(header.caption, dialogId, textMode, texts, loaded);
    if (!writer.WriteHeader(header)) {
        return 0;
    }
    for (WORD index = 0; index < header.count; ++index) {
        DialogItem item;
        if (!reader.ReadItem(&item)) {
            return 0;
        }
        item.title = ChooseText(item.title, item.id, textMode, texts, loaded);
        if (!writer.WriteItem(item, header.extended)) {
            return 0;
        }
    }
    return writer.size();
}

} // namespace moltr::common
