#include "gui/controls.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "gui/ampersand_rule.h"
#include "platform/codepage.h"

namespace tabulon::gui {

Rgb Resolve(SystemColour colour) {
  switch (colour) {
    case SystemColour::kWindow:
      return {0xFF, 0xFF, 0xFF};
    case SystemColour::kWindowText:
      return {0x00, 0x00, 0x00};
    case SystemColour::kButtonFace:
    case SystemColour::kInactiveCaptionText:
      // The classic scheme's silver grey (212, 208, 200).
      return {0xD4, 0xD0, 0xC8};
  }
  return {0xFF, 0xFF, 0xFF};
}

std::string_view ShownItemText(std::string_view cp932) {
  std::size_t end = 0;
  for (std::size_t n = 0; n < kShownItemCharacters && end < cp932.size(); ++n)
    end += platform::CharacterLength(cp932, end);
  return cp932.substr(0, end);
}

std::string WithoutAmpersands(std::string_view cp932) {
  std::string shown;
  for (const ShownRun& run : ShownRuns(cp932)) shown += run.cp932;
  return shown;
}

namespace {

// Items share blocks of this size; a longer item gets a block of its own.
constexpr std::size_t kItemBlockSize = 16 * 1024;

}  // namespace

void ItemList::Append(std::string_view cp932) {
  if (blocks_.empty() || block_size_ - block_used_ < cp932.size()) {
    block_size_ = std::max(kItemBlockSize, cp932.size());
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(block_size_));
    block_used_ = 0;
  }
  char* const out = blocks_.back().get() + block_used_;
  std::copy(cp932.begin(), cp932.end(), out);
  block_used_ += cp932.size();
  items_.emplace_back(out, cp932.size());
}

void ItemList::Clear() {
  items_.clear();
  items_.shrink_to_fit();
  blocks_.clear();
  block_size_ = 0;
  block_used_ = 0;
}

Control::Control(Form& form, const ControlLayout& layout, Control* parent)
    : form_(form),
      name_(layout.name),
      kind_(layout.kind),
      parent_(parent),
      left_(layout.left),
      top_(layout.top),
      width_(layout.width),
      height_(layout.height),
      font_(layout.font),
      colour_(layout.colour),
      visible_(layout.visible),
      auto_size_(layout.auto_size && layout.kind == ControlKind::kLabel),
      word_wrap_(layout.word_wrap),
      item_height_(layout.item_height),
      tab_order_(layout.tab_order),
      caption_(platform::Utf8ToCp932(layout.caption_utf8)),
      // An auto-size label fits its initial caption too, measured when first
      // needed.
      size_stale_(auto_size_) {}

int Control::Width() const {
  MeasureIfStale();
  return width_;
}

int Control::Height() const {
  MeasureIfStale();
  return height_;
}

const Font& Control::EffectiveFont() const {
  if (font_.face.empty() && parent_ != nullptr) return parent_->EffectiveFont();
  return font_;
}

Colour Control::PaintColour() const {
  if (colour_.source != Colour::Source::kParent) return colour_;
  if (parent_ != nullptr) return parent_->PaintColour();
  return Colour::Of(SystemColour::kWindow);
}

Rgb Control::EffectiveColour() const {
  const Colour colour = PaintColour();
  return colour.source == Colour::Source::kRgb ? colour.rgb
                                               : Resolve(colour.system);
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  MarkDirty();
}

void Control::SetCaption(std::string_view cp932) {
  if (caption_ == cp932) return;
  caption_.assign(cp932);
  if (auto_size_) {
    size_stale_ = true;
    width_fixed_ = false;
  }
  MarkDirty();
}

void Control::SetWidth(int width) {
  if (!size_stale_ && width_ == width) return;
  width_ = width;
  width_fixed_ = true;
  MarkDirty();
}

void Control::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  MarkDirty();
  if (!checked || kind_ != ControlKind::kRadioButton) return;
  for (const std::unique_ptr<Control>& other : form_.Controls()) {
    if (other.get() != this && other->kind_ == ControlKind::kRadioButton &&
        other->parent_ == parent_) {
      other->SetChecked(false);
    }
  }
}

void Control::SetText(std::string_view utf8) {
  if (text_utf8_ == utf8) return;
  text_utf8_.assign(utf8);
  MarkDirty();
}

void Control::ClearItems() {
  if (items_.empty()) return;
  items_.Clear();
  ++items_generation_;
  MarkDirty();
}

void Control::AppendItem(std::string_view cp932) {
  items_.Append(ShownItemText(cp932));
  MarkDirty();
}

void Control::MarkDirty() {
  if (dirty_) return;
  dirty_ = true;
  form_.dirty_.push_back(this);
}

void Control::MeasureIfStale() const {
  if (!size_stale_) return;
  size_stale_ = false;
  // An empty caption still takes one space, so an empty bar keeps a block.
  const std::string shown = WithoutAmpersands(caption_);
  const Extent extent =
      form_.metrics_.Measure(EffectiveFont(), shown.empty() ? " " : shown);
  if (!width_fixed_) width_ = extent.width;
  height_ = extent.height;
}

Form::Form(const ControlLayout& layout, TextMetrics& metrics,
           text::BusyPointer* busy)
    : Control(*this, layout, nullptr), metrics_(metrics), busy_(busy) {
  // Everything starts dirty, so the first Sync realises the whole state.
  dirty_.push_back(this);
  by_name_.emplace(layout.name, this);
}

void Form::Build(const std::vector<ControlLayout>& description) {
  controls_.reserve(controls_.size() + description.size());
  for (const ControlLayout& layout : description) {
    Control* parent = layout.parent.empty() ? this : &(*this)[layout.parent];
    std::unique_ptr<Control> control =
        layout.kind == ControlKind::kFileList
            ? std::make_unique<FileList>(*this, layout, parent, busy_)
            : std::make_unique<Control>(*this, layout, parent);
    if (!by_name_.emplace(layout.name, control.get()).second) {
      throw std::invalid_argument("two controls named " + layout.name);
    }
    dirty_.push_back(control.get());
    controls_.push_back(std::move(control));
  }
  // Partners are looked up once every control exists, wherever they lie.
  for (const ControlLayout& layout : description) {
    if (!layout.read_with.empty()) {
      (*this)[layout.name].read_with_ = &(*this)[layout.read_with];
    }
  }
}

void Form::MarkAllDirty() {
  dirty_.clear();
  dirty_.push_back(this);
  Control::dirty_ = true;
  for (const auto& control : controls_) {
    control->dirty_ = true;
    dirty_.push_back(control.get());
  }
}

Control& Form::operator[](std::string_view name) const {
  const auto found = by_name_.find(std::string(name));
  if (found == by_name_.end()) {
    throw std::out_of_range("no control named " + std::string(name));
  }
  return *found->second;
}

FileList& Form::FileListNamed(std::string_view name) const {
  auto* list = dynamic_cast<FileList*>(&(*this)[name]);
  if (list == nullptr) {
    throw std::out_of_range(std::string(name) + " is not a file list");
  }
  return *list;
}

}  // namespace tabulon::gui
