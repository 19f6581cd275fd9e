// Decoding of the class-specific property blocks of stored controls.
#include "window/form_properties.h"

namespace {

// Reads the fields of one block in order; the first failed read makes every later one fail too,
// so a decoder can read its whole layout and check once at the end.
class FieldReader {
  public:
    explicit FieldReader(FormBytes block) : reader_(block) {}

    void Dword(uint32_t& value) { ok_ = ok_ && reader_.ReadDword(value); }
    void Int(int32_t& value) { ok_ = ok_ && reader_.ReadInt(value); }
    void Counted(FormBytes& value) { ok_ = ok_ && reader_.ReadCounted(value); }
    void Terminated(FormBytes& value) { ok_ = ok_ && reader_.ReadTerminated(value); }
    size_t Remaining() const { return reader_.Remaining(); }

    // The whole block must be used: bytes after the last field are as wrong as missing ones.
    PropertyDecode Finish() const {
        return ok_ && reader_.AtEnd() ? PropertyDecode::kDecoded : PropertyDecode::kMalformed;
    }
    bool Ok() const { return ok_; }

  private:
    FormByteReader reader_;
    bool ok_ = true;
};

PropertyDecode DecodeWindow(FieldReader& r, WindowProperties& p) {
    r.Dword(p.border);
    r.Dword(p.selection12);
    r.Dword(p.backgroundColour);
    r.Dword(p.maximizeButton);
    r.Dword(p.minimizeButton);
    r.Dword(p.controlBox);
    r.Dword(p.position);
    r.Dword(p.movable);
    r.Dword(p.selection14);
    r.Dword(p.enterMovesFocus);
    r.Dword(p.escCloses);
    r.Dword(p.f1OpensHelp);
    r.Dword(p.integer25);
    if (p.version >= 2)
        r.Dword(p.showInTaskbar);
    if (p.version >= 3) {
        r.Dword(p.logical27);
        r.Dword(p.selection28);
    }
    if (p.version >= 4)
        r.Dword(p.alwaysOnTop);
    if (p.version >= 5)
        r.Dword(p.logical30);
    if (p.version >= 6)
        r.Counted(p.className);
    r.Counted(p.backgroundPicture);
    r.Counted(p.block20);
    r.Counted(p.block13);
    r.Counted(p.title);
    r.Counted(p.helpFile);
    return r.Finish();
}

PropertyDecode DecodeButton(FieldReader& r, ButtonProperties& p) {
    r.Dword(p.type);
    r.Dword(p.horizontalAlign);
    r.Dword(p.verticalAlign);
    r.Counted(p.picture);
    r.Counted(p.font);
    r.Counted(p.caption);
    return r.Finish();
}

PropertyDecode DecodeRadioBox(FieldReader& r, RadioBoxProperties& p) {
    r.Dword(p.pushLike);
    r.Dword(p.flat);
    r.Dword(p.textOnLeft);
    r.Dword(p.horizontalAlign);
    r.Dword(p.verticalAlign);
    r.Dword(p.textColour);
    r.Dword(p.backgroundColour);
    r.Dword(p.selected);
    r.Counted(p.picture);
    r.Counted(p.font);
    r.Counted(p.caption);
    return r.Finish();
}

PropertyDecode DecodeTransLabel(FieldReader& r, TransLabelProperties& p) {
    r.Dword(p.effect);
    r.Dword(p.textColour);
    r.Dword(p.horizontalAlign);
    r.Dword(p.verticalAlign);
    r.Dword(p.wordWrap);
    r.Counted(p.font);
    r.Counted(p.caption);
    return r.Finish();
}

// Each stored part takes at least 14 bytes, which bounds the count before anything is reserved.
constexpr uint32_t kMinPartSize = 4 + 4 + 4 + 1 + 1;

PropertyDecode DecodeParts(FormBytes block, std::vector<StatusBarPart>& parts) {
    FieldReader r(block);
    uint32_t count = 0;
    r.Dword(count);
    if (!r.Ok() || count > r.Remaining() / kMinPartSize)
        return PropertyDecode::kMalformed;
    parts.resize(count);
    for (StatusBarPart& part : parts) {
        r.Int(part.width);
        r.Dword(part.style);
        r.Int(part.icon);
        r.Terminated(part.text);
        r.Terminated(part.tooltip);
    }
    return r.Finish();
}

PropertyDecode DecodeStatusBar(FieldReader& r, StatusBarProperties& p) {
    FormBytes parts;
    r.Dword(p.backgroundColour);
    r.Dword(p.placement);
    r.Dword(p.sizeGrip);
    r.Counted(p.font);
    r.Counted(p.imageList);
    r.Counted(parts);
    const PropertyDecode result = r.Finish();
    if (result != PropertyDecode::kDecoded)
        return result;
    return DecodeParts(parts, p.parts);
}

template <typename Properties, typename Decoder>
PropertyDecode DecodeVersioned(FormBytes block, uint32_t maxVersion, ControlProperties& out, Decoder decode) {
    Properties& p = out.emplace<Properties>();
    if (block.empty())
        return PropertyDecode::kDecoded;
    FieldReader r(block);
    uint32_t version = 0;
    r.Dword(version);
    if (!r.Ok())
        return PropertyDecode::kMalformed;
    p.version = version;
    if (version > maxVersion)
        return PropertyDecode::kRefused;
    return decode(r, p);
}

}  // namespace

PropertyDecode DecodeControlProperties(ControlClass cls, FormBytes block, ControlProperties& out) {
    switch (cls) {
        case ControlClass::kWindow:
            return DecodeVersioned<WindowProperties>(block, kWindowPropertyVersion, out, DecodeWindow);
        case ControlClass::kButton:
            return DecodeVersioned<ButtonProperties>(block, kButtonPropertyVersion, out, DecodeButton);
        case ControlClass::kRadioBox:
            return DecodeVersioned<RadioBoxProperties>(block, kRadioBoxPropertyVersion, out, DecodeRadioBox);
        case ControlClass::kTransLabel:
            return DecodeVersioned<TransLabelProperties>(block, kTransLabelPropertyVersion, out, DecodeTransLabel);
        case ControlClass::kStatusBar:
            return DecodeVersioned<StatusBarProperties>(block, kStatusBarPropertyVersion, out, DecodeStatusBar);
        case ControlClass::kEditBox:
            // No stored edit-box settings are defined here: only the empty block (all defaults) is
            // understood, and a newer layout is refused like any other class's.
            return DecodeVersioned<EditBoxProperties>(
                block, kEditBoxPropertyVersion, out,
                [](FieldReader&, EditBoxProperties&) { return PropertyDecode::kMalformed; });
        case ControlClass::kMenuItem:
            out.emplace<std::monostate>();
            return block.empty() ? PropertyDecode::kDecoded : PropertyDecode::kMalformed;
    }
    return PropertyDecode::kMalformed;
}
