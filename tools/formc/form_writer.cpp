// Writing the stored form description from the parsed form source.
#include "tools/formc/form_writer.h"

#include "app/ui/form_routines.h"

namespace {

class ByteWriter {
  public:
    void Dword(uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void Bytes(std::string_view bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
    void Bytes(const std::vector<uint8_t>& bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
    void Counted(std::string_view bytes) {
        Dword(static_cast<uint32_t>(bytes.size()));
        Bytes(bytes);
    }
    void Counted(const std::vector<uint8_t>& bytes) {
        Dword(static_cast<uint32_t>(bytes.size()));
        Bytes(bytes);
    }
    void Terminated(std::string_view text) {
        Bytes(text);
        out_.push_back(0);
    }
    std::vector<uint8_t>& Out() { return out_; }

  private:
    std::vector<uint8_t> out_;
};

void WriteRecord(const RecordSource& record, std::vector<uint8_t>& body) {
    ByteWriter w;
    w.Dword(static_cast<uint32_t>(record.cls->code));
    w.Dword(record.link);
    for (uint32_t i = 0; i < kControlReservedHead; ++i)
        w.Dword(0);
    w.Terminated(record.name);
    w.Terminated("");  // second name
    w.Dword(0);        // live-object slot
    for (int32_t v : record.rect)
        w.Dword(static_cast<uint32_t>(v));
    w.Dword(0);  // cursor slot
    w.Dword(record.container);
    w.Dword(static_cast<uint32_t>(record.children.size()));
    for (uint32_t child : record.children)
        w.Dword(child);
    w.Counted(record.cursor);
    w.Terminated(record.tag);
    w.Dword(0);
    w.Dword(record.flags);
    w.Dword(record.tabOrder);
    if (record.cls->code == ControlClass::kMenuItem) {
        w.Dword(record.events.empty() ? kNoFormRoutine : record.events[0].routine);
    } else {
        w.Dword(static_cast<uint32_t>(record.events.size()));
        for (const Binding& b : record.events) {
            w.Dword(static_cast<uint32_t>(b.event));
            w.Dword(b.routine);
        }
    }
    for (uint32_t i = 0; i < kControlReservedTail; ++i)
        w.Dword(0);

    if (record.cls->maxVersion != 0) {
        w.Dword(record.version);
        for (size_t f = 0; f < record.cls->fields.size(); ++f) {
            const Field& field = record.cls->fields[f];
            if (field.minVersion > record.version)
                continue;
            const std::optional<FieldValue>& value = record.values[f];
            if (field.kind == Kind::kDword)
                w.Dword(value ? value->number : field.fallback);
            else
                w.Counted(value ? value->bytes : std::string());
        }
        if (record.cls->code == ControlClass::kStatusBar) {
            ByteWriter parts;
            parts.Dword(static_cast<uint32_t>(record.parts.size()));
            for (const PartSource& part : record.parts) {
                parts.Dword(static_cast<uint32_t>(part.width));
                parts.Dword(part.style);
                parts.Dword(static_cast<uint32_t>(part.icon));
                parts.Terminated(part.text);
                parts.Terminated(part.tooltip);
            }
            w.Counted(parts.Out());
        }
    }
    body = std::move(w.Out());
}

void WriteWindow(const WindowSource& window, ByteWriter& out) {
    const uint32_t count = static_cast<uint32_t>(window.records.size());
    ByteWriter table;
    ByteWriter area;
    std::vector<uint32_t> offsets;
    for (const RecordSource& record : window.records) {
        std::vector<uint8_t> body;
        WriteRecord(record, body);
        offsets.push_back(static_cast<uint32_t>(area.Out().size()));
        area.Counted(body);
    }
    for (const RecordSource& record : window.records)
        table.Dword(record.id);
    for (uint32_t offset : offsets)
        table.Dword(offset);
    table.Bytes(area.Out());

    out.Dword(window.designer1);
    out.Dword(window.designer2);
    out.Counted("");  // the two designer texts
    out.Counted("");
    out.Dword(count);
    out.Counted(table.Out());
}

}  // namespace

std::vector<uint8_t> WriteFormDescription(const std::vector<WindowSource>& windows) {
    ByteWriter w;
    w.Dword(static_cast<uint32_t>(windows.size() * 8));
    for (const WindowSource& window : windows)
        w.Dword(window.id);
    for (size_t i = 0; i < windows.size(); ++i)
        w.Dword(0);  // slots the runtime fills
    for (const WindowSource& window : windows)
        WriteWindow(window, w);
    return std::move(w.Out());
}
