// The window system's controls as plain state: name, parent, place, size,
// visibility, caption (CP932 bytes), font, colour and list items. Handlers
// change this state only; a backend realises it on screen when a handler
// ends, so a change costs no drawing.
#ifndef TABULON_GUI_CONTROLS_H_
#define TABULON_GUI_CONTROLS_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/answer_file_list.h"

namespace tabulon::gui {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class SystemColour {
  kWindow,
  kWindowText,
  kButtonFace,
  kInactiveCaptionText
};

// The classic desktop scheme: window white, window text black, button face
// and inactive caption text light greys.
Rgb Resolve(SystemColour colour);

// A control's background: its own RGB, a system colour, or its parent's.
struct Colour {
  enum class Source { kParent, kRgb, kSystem };
  Source source = Source::kParent;
  Rgb rgb;
  SystemColour system = SystemColour::kWindow;

  static Colour Parent() { return {}; }
  static Colour Of(Rgb rgb) { return {Source::kRgb, rgb, {}}; }
  static Colour Of(SystemColour system) {
    return {Source::kSystem, {}, system};
  }
};

// A typeface (its desktop name, UTF-8), a character height in pixels, bold.
struct Font {
  std::string face;
  int pixel_size = 12;
  bool bold = false;
  friend bool operator==(const Font&, const Font&) = default;
};

inline constexpr std::string_view kProportionalFace = "ＭＳ Ｐゴシック";
inline constexpr std::string_view kFixedPitchFace = "ＭＳ ゴシック";

struct Extent {
  int width = 0;
  int height = 0;
  friend bool operator==(const Extent&, const Extent&) = default;
};

// The desktop's text-extent rule, from the backend: the sum of the integer
// advances of the characters, and the font's pixel size as height.
class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  virtual Extent Measure(const Font& font, std::string_view cp932) = 0;
};

enum class ControlKind {
  kForm,
  kLabel,
  kGroupBox,
  kListBox,
  kButton,
  kFileList,
  // Answer controls: a radio button is one of a group (the radio buttons
  // with the same parent, at most one chosen), a check box stands alone,
  // a text field holds one line of typed text.
  kRadioButton,
  kCheckBox,
  kTextField
};

// Everything the form description says of one control, written with
// designated initializers: every member has a default, so a row names only
// what differs.
struct ControlLayout {
  ControlKind kind = ControlKind::kLabel;
  std::string name = {};
  std::string parent = {};  // empty for controls of the window itself
  int left = 0, top = 0, width = 0, height = 0;
  Font font = {};  // face empty: the parent's font
  Colour colour = Colour::Parent();
  std::string caption_utf8 = {};
  bool visible = true;
  bool auto_size = false;  // labels
  bool word_wrap = false;  // labels
  int item_height = 0;     // list boxes and the file list
  int tab_order = -1;      // position in the Tab order; -1 takes no focus
  // The control a screen reader reads this one with: a bar (which shows no
  // text) with its count, a list with its question. Empty: none.
  std::string read_with = {};
};

class Form;

// A list box's items: CP932 texts kept one after the other in shared blocks
// of memory, each item a view of its bytes, so that ten thousand free-text
// answers take little more than their own bytes. Views stay valid until
// Clear.
class ItemList {
 public:
  ItemList() = default;
  ItemList(const ItemList&) = delete;
  ItemList& operator=(const ItemList&) = delete;

  using value_type = std::string_view;
  using const_iterator = std::vector<std::string_view>::const_iterator;
  using iterator = const_iterator;

  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  std::string_view operator[](std::size_t i) const { return items_[i]; }
  const_iterator begin() const { return items_.begin(); }
  const_iterator end() const { return items_.end(); }

  // The same texts in the same order.
  friend bool operator==(const ItemList& items,
                         const std::vector<std::string>& texts) {
    return std::equal(items.begin(), items.end(), texts.begin(), texts.end());
  }

  void Append(std::string_view cp932);
  // Drops every item and gives their memory back.
  void Clear();

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t block_size_ = 0;
  std::size_t block_used_ = 0;
  std::vector<std::string_view> items_;
};

// One control. Its kind decides which parts of the state mean something.
class Control {
 public:
  Control(Form& form, const ControlLayout& layout, Control* parent);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  const std::string& Name() const { return name_; }
  ControlKind Kind() const { return kind_; }
  Control* Parent() const { return parent_; }
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const;
  int Height() const;
  bool AutoSize() const { return auto_size_; }
  bool WordWrap() const { return word_wrap_; }
  int TabOrder() const { return tab_order_; }
  int ItemHeight() const { return item_height_; }
  // The layout's `read_with` control, or null.
  const Control* ReadWith() const { return read_with_; }

  // A control's own font, or its parent's when it has none.
  const Font& EffectiveFont() const;
  // The colour this control paints with, parents followed: its RGB or a
  // system colour, never kParent. A backend on the real desktop reads system
  // colours from the system.
  Colour PaintColour() const;
  // The same in RGB, system colours in the classic scheme.
  Rgb EffectiveColour() const;

  bool Visible() const { return visible_; }
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  void SetVisible(bool visible);

  const std::string& Caption() const { return caption_; }
  // Setting the caption it already has changes nothing.
  void SetCaption(std::string_view cp932);

  // Fixes the width (an auto-size label keeps it only until its caption
  // changes again).
  void SetWidth(int width);

  // List boxes.
  const ItemList& Items() const { return items_; }
  void ClearItems();
  // Keeps what the list shows of the text (ShownItemText): a huge answer
  // costs the list no more than a line of it; the results file has it all.
  void AppendItem(std::string_view cp932);

  // Radio buttons and check boxes: whether chosen. Choosing a radio button
  // lets go of the other radio buttons of its parent.
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  // Text fields: the text as typed, in UTF-8, since a person can type what
  // code page 932 cannot hold; whoever saves it converts and refuses. A
  // text field's caption is its name for a screen reader, never shown.
  const std::string& Text() const { return text_utf8_; }
  void SetText(std::string_view utf8);

  // Buttons: what a click runs (through the form's guard).
  std::function<void()> on_click;

  // For backends: set by every change, cleared by the backend's Sync.
  bool Dirty() const { return dirty_; }
  void MarkClean() { dirty_ = false; }
  // Counts ClearItems calls that emptied the list, so a backend can append
  // only the new items when the list has merely grown since its last look.
  int ItemsGeneration() const { return items_generation_; }

 private:
  friend class Form;
  void MarkDirty();
  void MeasureIfStale() const;

  Form& form_;
  std::string name_;
  ControlKind kind_;
  Control* parent_;
  int left_, top_;
  mutable int width_, height_;
  Font font_;
  Colour colour_;
  bool visible_;
  bool auto_size_, word_wrap_;
  int item_height_;
  int tab_order_;
  const Control* read_with_ = nullptr;
  std::string caption_;
  ItemList items_;
  bool checked_ = false;
  std::string text_utf8_;
  mutable bool size_stale_ = false;  // auto-size measured lazily
  bool width_fixed_ = false;         // SetWidth since the last caption change
  int items_generation_ = 0;
  bool dirty_ = true;
};

// What a list box shows of an item: its first characters, as many as fill
// the widest list in its narrowest glyphs and more. An item is one line cut
// off at the list's right edge, so laying out the rest of a huge answer
// would cost without showing anything, so the item is only this much.
inline constexpr std::size_t kShownItemCharacters = 512;
std::string_view ShownItemText(std::string_view cp932);

// What a caption with the ampersand rule shows: "&&" becomes "&", any other
// "&" is dropped (it marks the next character for underlining). CP932 in and
// out.
std::string WithoutAmpersands(std::string_view cp932);

// The never-visible file list that holds the answer-file list.
class FileList : public Control {
 public:
  FileList(Form& form, const ControlLayout& layout, Control* parent,
           text::BusyPointer* busy)
      : Control(form, layout, parent), list_(busy) {}
  text::AnswerFileList& List() { return list_; }

 private:
  text::AnswerFileList list_;
};

// One item of the window's context menu: its caption (CP932), its check
// mark, and what choosing it runs (through the guard).
struct MenuItem {
  std::string caption;
  bool checked = false;
  std::function<void()> on_click;
};

// The window: its controls by name, in creation (stacking) order.
class Form : public Control {
 public:
  Form(const ControlLayout& layout, TextMetrics& metrics,
       text::BusyPointer* busy);

  // Creates the controls of a description, in order: a windowed control
  // created later lies above the earlier ones of its parent, and a label
  // created later is drawn over the earlier labels of its parent.
  void Build(const std::vector<ControlLayout>& description);

  // The control of that name; an unknown name is a programming error and
  // throws std::out_of_range.
  Control& operator[](std::string_view name) const;
  FileList& FileListNamed(std::string_view name) const;

  // Every control, the form excluded, in creation order.
  const std::vector<std::unique_ptr<Control>>& Controls() const {
    return controls_;
  }
  // The controls changed since the backend's last Sync.
  std::vector<Control*>& DirtyControls() { return dirty_; }
  // Hands the form and every control to the next Sync again, as a backend
  // that has just made its windows needs them all, whatever was synced
  // before.
  void MarkAllDirty();

  TextMetrics& Metrics() const { return metrics_; }

  // What creation runs as its last step (through the guard).
  std::function<void()> on_create;
  // The menu that opens on the window (right button, or the menu key); a
  // backend reads it as the menu opens. Empty: no menu.
  std::vector<MenuItem> context_menu;

 private:
  friend class Control;
  TextMetrics& metrics_;
  text::BusyPointer* busy_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::unordered_map<std::string, Control*> by_name_;
  std::vector<Control*> dirty_;
};

}  // namespace tabulon::gui

#endif  // TABULON_GUI_CONTROLS_H_
