#include "moltr/ui_report.h"

#include "moltr/document_devmode.h"
#include "sim/utf.h"

namespace moltr::tool {
namespace {

JsonValue ControlJson(const UiControl& control) {
    JsonValue shown = JsonValue::Object();
    shown.Add("id", JsonValue::Signed(control.id));
    shown.Add("class", JsonValue::String(sim::Utf8(control.className)));
    shown.Add("text", JsonValue::String(sim::Utf8(control.text)));
    shown.Add("visible", JsonValue::Bool(control.visible));
    shown.Add("enabled", JsonValue::Bool(control.enabled));
    shown.Add("value", control.value ? JsonValue::Signed(*control.value) : JsonValue());
    JsonValue rect = JsonValue::Array();
    for (LONG edge :
         {control.rect.left, control.rect.top, control.rect.right, control.rect.bottom}) {
        rect.Add(JsonValue::Signed(edge));
    }
    shown.Add("rect", std::move(rect));
    return shown;
}

JsonValue PageJson(const UiPage& page) {
    JsonValue shown = JsonValue::Object();
    shown.Add("caption", JsonValue::String(sim::Utf8(page.caption)));
    shown.Add("dialogId", JsonValue::Unsigned(page.dialogId));
    JsonValue controls = JsonValue::Array();
    for (const UiControl& control : page.controls) {
        controls.Add(ControlJson(control));
    }
    shown.Add("controls", std::move(controls));
    return shown;
}

JsonValue MessageJson(const UiMessage& message) {
    JsonValue shown = JsonValue::Object();
    shown.Add("textId", JsonValue::Unsigned(message.textId));
    shown.Add("text", JsonValue::String(sim::Utf8(message.text)));
    shown.Add("captionId", JsonValue::Unsigned(message.captionId));
    shown.Add("caption", JsonValue::String(sim::Utf8(message.caption)));
    shown.Add("type", JsonValue::Unsigned(message.type));
    shown.Add("answer", JsonValue::Signed(message.answer));
    return shown;
}

std::string ControlLine(const UiControl& control) {
    std::string line = "  " + std::to_string(control.id) + "  " + sim::Utf8(control.className) +
                       "  \"" + sim::Utf8(control.text) + "\"";
    if (control.value) {
        line += "  value " + std::to_string(*control.value);
    }
    line += control.visible ? "" : "  hidden";
    line += control.enabled ? "" : "  disabled";
    return line + "\n";
}

} // namespace

std::string UiReportJson(const UiReport& report) {
    JsonValue shown = JsonValue::Object();
    shown.Add("uiType", JsonValue::Unsigned(report.uiType));
    JsonValue pages = JsonValue::Array();
    for (const UiPage& page : report.pages) {
        pages.Add(PageJson(page));
    }
    shown.Add("pages", std::move(pages));
    shown.Add("items", report.items);
    JsonValue messages = JsonValue::Array();
    for (const UiMessage& message : report.messages) {
        messages.Add(MessageJson(message));
    }
    shown.Add("messages", std::move(messages));
    shown.Add(report.settingsName, report.settings);
    return shown.Serialize() + "\n";
}

std::string UiReportText(const UiReport& report) {
    std::string out;
    for (size_t n = 0; n < report.pages.size(); ++n) {
        const UiPage& page = report.pages[n];
        out += "page " + std::to_string(n) + " \"" + sim::Utf8(page.caption) + "\" (dialog " +
               std::to_string(page.dialogId) + ")\n";
        for (const UiControl& control : page.controls) {
            out += ControlLine(control);
        }
    }
    if (report.settingsName == "devmode") {
        out += SectionsText(report.settings);
    } else {
        JsonValue sections = JsonValue::Object();
        sections.Add("printer settings", report.settings);
        out += SectionsText(sections);
    }
    for (const UiMessage& message : report.messages) {
        out += "message box " + std::to_string(message.textId) + " \"" +
               sim::Utf8(message.caption) + "\": \"" + sim::Utf8(message.text) + "\" type " +
               std::to_string(message.type) + ", answered " + std::to_string(message.answer) + "\n";
    }
    return out;
}

} // namespace moltr::tool
