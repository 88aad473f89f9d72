#include "gui/qt/qt_backend.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QListWidget>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QStyledItemDelegate>
#include <QWidget>
#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/codepage.h"

namespace tabulon::gui {
namespace {

// The desktop frame around the client area: a 4 px sizing border on every
// side and a 19 px caption, the classic metrics at 96 dpi.
constexpr int kFrameBorder = 4;
constexpr int kCaptionHeight = 19;
// Where a group box's caption starts.
constexpr int kGroupCaptionLeft = 8;

QString ToQString(std::string_view cp932) {
  return QString::fromStdString(platform::Cp932ToUtf8(cp932));
}

QColor ToQColor(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

// A lone CR, or CR LF, is a line break on the desktop.
QString WithLineBreaks(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar(u'\r'), QChar(u'\n'));
  return text;
}

bool IsBlank(const QString& text) {
  return std::all_of(text.begin(), text.end(),
                     [](QChar c) { return c.isSpace(); });
}

// One font as the backend draws and measures it, with the integer advance of
// every character seen so far.
class FontEntry {
 public:
  explicit FontEntry(const Font& font)
      : font_(MakeFont(font)), metrics_(font_) {
    pixel_size_ = font.pixel_size;
  }

  const QFont& QtFont() const { return font_; }
  const QFontMetrics& Metrics() const { return metrics_; }
  int PixelSize() const { return pixel_size_; }

  int Advance(const QString& character) {
    const char32_t key =
        character.size() == 1
            ? character[0].unicode()
            : QChar::surrogateToUcs4(character[0], character[1]);
    const auto found = advances_.find(key);
    if (found != advances_.end()) return found->second;
    const int advance = metrics_.horizontalAdvance(character);
    advances_.emplace(key, advance);
    return advance;
  }

 private:
  static QFont MakeFont(const Font& font) {
    QFont qt_font;
    qt_font.setFamilies(
        {QString::fromStdString(QtBackend::FamilyFor(font.face))});
    qt_font.setPixelSize(std::max(1, font.pixel_size));
    qt_font.setBold(font.bold);
    return qt_font;
  }

  QFont font_;
  QFontMetrics metrics_;
  int pixel_size_ = 0;
  std::unordered_map<char32_t, int> advances_;
};

// One character as painted: its text (one code point), integer advance,
// whether the ampersand rule underlines it, or a line break.
struct Glyph {
  QString text;
  int advance = 0;
  bool underline = false;
  bool line_break = false;
};

std::vector<Glyph> Glyphs(const QString& caption, FontEntry& font,
                          bool ampersands) {
  std::vector<Glyph> glyphs;
  glyphs.reserve(caption.size());
  bool underline_next = false;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    const QChar c = caption[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < caption.size() && caption[i + 1] == u'\n') ++i;
      glyphs.push_back({{}, 0, false, true});
      continue;
    }
    if (ampersands && c == u'&') {
      const bool doubled = i + 1 < caption.size() && caption[i + 1] == u'&';
      if (!doubled) {
        underline_next = true;
        continue;
      }
      ++i;
    }
    QString text(c);
    if (c.isHighSurrogate() && i + 1 < caption.size()) text += caption[++i];
    glyphs.push_back({text, font.Advance(text), underline_next, false});
    underline_next = false;
  }
  return glyphs;
}

bool IsBreakableAfter(const Glyph& glyph) {
  return glyph.text == u" " || glyph.text.front().unicode() >= 0x80;
}

// Lines of glyphs; with `wrap`, a line is broken at the last word boundary
// (after a space, or beside a wide character) that keeps it within `width`,
// or inside a word that is wider than the whole line.
std::vector<std::vector<Glyph>> Lines(const std::vector<Glyph>& glyphs,
                                      int width, bool wrap) {
  std::vector<std::vector<Glyph>> lines(1);
  int line_width = 0;
  for (const Glyph& glyph : glyphs) {
    if (glyph.line_break) {
      lines.emplace_back();
      line_width = 0;
      continue;
    }
    std::vector<Glyph>& line = lines.back();
    if (wrap && !line.empty() && line_width + glyph.advance > width &&
        glyph.text != u" ") {
      std::size_t cut = line.size();
      const bool wide = glyph.text.front().unicode() >= 0x80;
      if (!wide) {
        while (cut > 0 && !IsBreakableAfter(line[cut - 1])) --cut;
        if (cut == 0) cut = line.size();
      }
      std::vector<Glyph> carried(line.begin() + static_cast<long>(cut),
                                 line.end());
      line.erase(line.begin() + static_cast<long>(cut), line.end());
      lines.push_back(std::move(carried));
      line_width = 0;
      for (const Glyph& kept : lines.back()) line_width += kept.advance;
    }
    lines.back().push_back(glyph);
    line_width += glyph.advance;
  }
  return lines;
}

// Paints glyphs from (x, top) at their integer advances; blanks are not
// drawn, underlines are.
void PaintLine(QPainter& painter, FontEntry& font,
               const std::vector<Glyph>& line, int x, int top) {
  const QFontMetrics& metrics = font.Metrics();
  const int baseline = top + metrics.ascent();
  const int underline_y = baseline + std::max(1, metrics.underlinePos());
  const int underline_h = std::max(1, metrics.lineWidth());
  for (const Glyph& glyph : line) {
    if (!IsBlank(glyph.text)) painter.drawText(x, baseline, glyph.text);
    if (glyph.underline) {
      painter.fillRect(x, underline_y, glyph.advance, underline_h,
                       painter.pen().color());
    }
    x += glyph.advance;
  }
}

// A control that paints its caption itself: opaque in its colour, in the
// project's integer-advance glyph layout.
class CaptionWidget : public QWidget {
 public:
  CaptionWidget(QWidget* parent, FontEntry& font, QColor back)
      : QWidget(parent), font_(font), back_(back) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

  void SetCaption(const QString& caption) {
    glyphs_ = Glyphs(caption, font_, true);
    update();
  }

 protected:
  FontEntry& font_;
  QColor back_;
  std::vector<Glyph> glyphs_;
};

// A label: opaque fill in its colour, then its caption left-aligned,
// clipped, with the ampersand rule and optional word wrap.
class LabelWidget : public CaptionWidget {
 public:
  LabelWidget(QWidget* parent, FontEntry& font, QColor back, bool wrap)
      : CaptionWidget(parent, font, back), wrap_(wrap) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), back_);
    painter.setFont(font_.QtFont());
    painter.setPen(Qt::black);
    int top = 0;
    for (const auto& line : Lines(glyphs_, width(), wrap_)) {
      if (top >= height()) break;
      PaintLine(painter, font_, line, 0, top);
      top += font_.Metrics().height();
    }
  }

 private:
  bool wrap_;
};

// A group box drawn as the desktop draws it: filled with its colour, an
// etched frame from half the caption height down, the caption at the top
// left over the frame. Children are placed from the box's own top-left
// corner, since the box has no frame of its own around its client area.
class GroupBoxWidget : public CaptionWidget {
 public:
  using CaptionWidget::CaptionWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), back_);
    const int text_height = font_.Metrics().height();
    const int frame_top = text_height / 2 - 1;
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(0, frame_top, width() - 2, height() - frame_top - 2);
    painter.setPen(Qt::white);
    painter.drawRect(1, frame_top + 1, width() - 2, height() - frame_top - 2);
    if (glyphs_.empty()) return;
    int text_width = 0;
    for (const Glyph& glyph : glyphs_) text_width += glyph.advance;
    painter.fillRect(kGroupCaptionLeft, 0, text_width, text_height, back_);
    painter.setFont(font_.QtFont());
    painter.setPen(Qt::black);
    PaintLine(painter, font_, Lines(glyphs_, 0, false).front(),
              kGroupCaptionLeft, 0);
  }
};

// Gives every list item the list's fixed item height.
class ItemHeightDelegate : public QStyledItemDelegate {
 public:
  ItemHeightDelegate(QObject* parent, int height)
      : QStyledItemDelegate(parent), height_(height) {}
  QSize sizeHint(const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (height_ > 0) size.setHeight(height_);
    return size;
  }

 private:
  int height_;
};

bool IsWindowed(ControlKind kind) {
  return kind != ControlKind::kLabel && kind != ControlKind::kForm;
}

bool TakesFocus(ControlKind kind) {
  return kind == ControlKind::kListBox || kind == ControlKind::kButton ||
         kind == ControlKind::kFileList;
}

int g_argc = 1;
char g_arg0[] = "tabulon";
char* g_argv[] = {g_arg0, nullptr};

}  // namespace

struct QtBackend::State {
  // A control's widget and what of its list the widget already shows.
  struct Realised {
    QWidget* widget = nullptr;
    int items_generation = 0;
    std::size_t items_shown = 0;
  };

  FontEntry& FontFor(const Font& font) {
    const auto key = std::make_tuple(font.face, font.pixel_size, font.bold);
    auto found = fonts.find(key);
    if (found == fonts.end()) {
      found = fonts.emplace(key, std::make_unique<FontEntry>(font)).first;
    }
    return *found->second;
  }

  // Brings one control's widget to the control's state.
  void Apply(Control* control) {
    Realised& realised = this->realised.at(control);
    QWidget* widget = realised.widget;
    widget->setGeometry(control->Left(), control->Top(), control->Width(),
                        control->Height());
    widget->setVisible(control->Visible());
    switch (control->Kind()) {
      case ControlKind::kLabel:
        static_cast<LabelWidget*>(widget)->SetCaption(
            ToQString(control->Caption()));
        break;
      case ControlKind::kGroupBox:
        static_cast<GroupBoxWidget*>(widget)->SetCaption(
            ToQString(control->Caption()));
        break;
      case ControlKind::kButton:
        static_cast<QPushButton*>(widget)->setText(
            ToQString(control->Caption()));
        break;
      case ControlKind::kListBox:
      case ControlKind::kFileList: {
        auto* list = static_cast<QListWidget*>(widget);
        const std::vector<std::string>& items = control->Items();
        if (realised.items_generation != control->ItemsGeneration() ||
            realised.items_shown > items.size()) {
          list->clear();
          realised.items_shown = 0;
          realised.items_generation = control->ItemsGeneration();
        }
        for (; realised.items_shown < items.size(); ++realised.items_shown) {
          list->addItem(ToQString(items[realised.items_shown]));
        }
        break;
      }
      case ControlKind::kForm:
        break;
    }
  }

  std::unique_ptr<QApplication> owned_app;
  std::map<std::tuple<std::string, int, bool>, std::unique_ptr<FontEntry>>
      fonts;
  std::unique_ptr<QScrollArea> window;
  QWidget* content = nullptr;
  Form* form = nullptr;
  std::unordered_map<const Control*, Realised> realised;
  int busy_depth = 0;
};

QtBackend::QtBackend() : QtBackend(g_argc, g_argv) {}

QtBackend::QtBackend(int& argc, char** argv)
    : state_(std::make_unique<State>()) {
  if (QApplication::instance() == nullptr) {
    state_->owned_app = std::make_unique<QApplication>(argc, argv);
  }
  // Message boxes and anything without a font of its own speak Japanese.
  QFont font;
  font.setFamilies(
      {QString::fromStdString(FamilyFor(std::string(kProportionalFace)))});
  font.setPixelSize(12);
  QApplication::setFont(font);
}

QtBackend::~QtBackend() {
  while (state_->busy_depth > 0) SetBusy(false);
  state_->realised.clear();
  state_->window.reset();
  state_->fonts.clear();
}

std::string QtBackend::FamilyFor(const std::string& face) {
  const QString family = QString::fromStdString(face);
  if (face.empty() || QFontDatabase::hasFamily(family)) return face;
  if (face == kProportionalFace) return "IPAPGothic";
  if (face == kFixedPitchFace) return "IPAGothic";
  return face;
}

Extent QtBackend::Measure(const Font& font, std::string_view cp932) {
  FontEntry& entry = state_->FontFor(font);
  int width = 0;
  for (const Glyph& glyph : Glyphs(ToQString(cp932), entry, false)) {
    width += glyph.advance;
  }
  return {width, font.pixel_size};
}

void QtBackend::ShowStop(std::string_view caption, std::string_view message) {
  if (state_->form != nullptr) Sync(*state_->form);
  QMessageBox box(QMessageBox::Critical, ToQString(caption),
                  WithLineBreaks(ToQString(message)), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

bool QtBackend::Confirm(const Confirmation& confirmation) {
  if (state_->form != nullptr) Sync(*state_->form);
  QMessageBox box;
  box.setIcon(QMessageBox::Question);
  box.setWindowTitle(ToQString(confirmation.caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(WithLineBreaks(ToQString(confirmation.message)));
  box.setWindowModality(Qt::ApplicationModal);
  // One role for both keeps them in the given order on every platform.
  QPushButton* yes = box.addButton(ToQString(confirmation.yes_button),
                                   QMessageBox::ActionRole);
  QPushButton* no =
      box.addButton(ToQString(confirmation.no_button), QMessageBox::ActionRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

void QtBackend::SetApplicationTitle(std::string_view title) {
  // The name the desktop's task bar groups the window under.
  QCoreApplication::setApplicationName(ToQString(title));
}

void QtBackend::SetBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++state_->busy_depth;
    return;
  }
  if (state_->busy_depth == 0) return;
  QApplication::restoreOverrideCursor();
  --state_->busy_depth;
}

void QtBackend::Realise(Form& form) {
  State& state = *state_;
  state.form = &form;
  state.window = std::make_unique<QScrollArea>();
  QScrollArea& window = *state.window;
  window.setFrameShape(QFrame::NoFrame);
  window.setWidgetResizable(false);
  window.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, ToQColor(form.EffectiveColour()));
  palette.setColor(QPalette::Button,
                   ToQColor(Resolve(SystemColour::kButtonFace)));
  palette.setColor(QPalette::ButtonText, Qt::black);
  palette.setColor(QPalette::WindowText, Qt::black);
  window.setPalette(palette);
  window.viewport()->setAutoFillBackground(true);
  window.viewport()->setPalette(palette);

  state.content = new QWidget;
  state.content->setAutoFillBackground(true);
  state.content->setPalette(palette);
  state.content->setFont(state.FontFor(form.EffectiveFont()).QtFont());
  window.setWidget(state.content);

  for (const auto& owned : form.Controls()) {
    const Control& control = *owned;
    QWidget* parent = control.Parent() == &form || control.Parent() == nullptr
                          ? state.content
                          : state.realised.at(control.Parent()).widget;
    FontEntry& font = state.FontFor(control.EffectiveFont());
    const QColor back = ToQColor(control.EffectiveColour());
    QWidget* widget = nullptr;
    switch (control.Kind()) {
      case ControlKind::kLabel:
        widget = new LabelWidget(parent, font, back, control.WordWrap());
        break;
      case ControlKind::kGroupBox:
        widget = new GroupBoxWidget(parent, font, back);
        break;
      case ControlKind::kListBox:
      case ControlKind::kFileList: {
        auto* list = new QListWidget(parent);
        list->setItemDelegate(
            new ItemHeightDelegate(list, control.ItemHeight()));
        list->setUniformItemSizes(true);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setTextElideMode(Qt::ElideNone);
        QPalette list_palette = list->palette();
        list_palette.setColor(QPalette::Base, back);
        list_palette.setColor(QPalette::Text, Qt::black);
        list->setPalette(list_palette);
        widget = list;
        break;
      }
      case ControlKind::kButton: {
        auto* button = new QPushButton(parent);
        button->setAutoDefault(false);
        Control* clicked = owned.get();
        QObject::connect(button, &QPushButton::clicked, [this, clicked] {
          RunHandler(*this, *state_->form, clicked->on_click);
        });
        widget = button;
        break;
      }
      case ControlKind::kForm:
        widget = new QWidget(parent);
        break;
    }
    widget->setFont(font.QtFont());
    widget->setObjectName(QString::fromStdString(control.Name()));
    if (TakesFocus(control.Kind()) && control.TabOrder() < 0) {
      widget->setFocusPolicy(Qt::NoFocus);
    }
    state.realised[&control].widget = widget;
  }

  // Labels lie on their parent's surface, beneath its windowed controls;
  // among each group, later ones lie above earlier ones.
  for (const auto& control : form.Controls()) {
    if (!IsWindowed(control->Kind()))
      state.realised[control.get()].widget->raise();
  }
  for (const auto& control : form.Controls()) {
    if (IsWindowed(control->Kind()))
      state.realised[control.get()].widget->raise();
  }

  std::vector<const Control*> focus_order;
  for (const auto& control : form.Controls()) {
    if (TakesFocus(control->Kind()) && control->TabOrder() >= 0) {
      focus_order.push_back(control.get());
    }
  }
  std::stable_sort(focus_order.begin(), focus_order.end(),
                   [](const Control* a, const Control* b) {
                     return a->TabOrder() < b->TabOrder();
                   });
  for (std::size_t i = 1; i < focus_order.size(); ++i) {
    QWidget::setTabOrder(state.realised[focus_order[i - 1]].widget,
                         state.realised[focus_order[i]].widget);
  }

  window.resize(std::max(1, form.Width() - 2 * kFrameBorder),
                std::max(1, form.Height() - 2 * kFrameBorder - kCaptionHeight));
  window.move(form.Left(), form.Top());

  // Every widget starts from the form's whole state, whatever was synced
  // before.
  std::vector<Control*>& dirty = form.DirtyControls();
  dirty.clear();
  dirty.push_back(&form);
  for (const auto& control : form.Controls()) dirty.push_back(control.get());
  Sync(form);
}

void QtBackend::Sync(Form& form) {
  State& state = *state_;
  if (!state.window) return;
  bool layout_changed = false;
  std::vector<Control*>& dirty = form.DirtyControls();
  for (Control* control : dirty) {
    control->MarkClean();
    if (control == &form) {
      state.window->setWindowTitle(ToQString(form.Caption()));
      continue;
    }
    state.Apply(control);
    if (control->Parent() == &form) layout_changed = true;
  }
  dirty.clear();
  if (!layout_changed) return;
  // The scrolled area reaches as far as the window's controls do.
  int right = 0;
  int bottom = 0;
  for (const auto& control : form.Controls()) {
    if (control->Parent() != &form) continue;
    right = std::max(right, control->Left() + control->Width());
    bottom = std::max(bottom, control->Top() + control->Height());
  }
  state.content->setFixedSize(std::max(1, right), std::max(1, bottom));
}

int QtBackend::Run(Form& form, ShowState show_state) {
  if (!state_->window) Realise(form);
  Sync(form);
  QScrollArea& window = *state_->window;
  switch (show_state) {
    case ShowState::kNormal:
      window.show();
      break;
    case ShowState::kMaximised:
      window.showMaximized();
      break;
    case ShowState::kMinimisedNoActivate:
      window.setAttribute(Qt::WA_ShowWithoutActivating);
      window.showMinimized();
      break;
  }
  return QApplication::exec();
}

QImage QtBackend::Render(Form& form, int width, int height) {
  if (!state_->window) Realise(form);
  Sync(form);
  QScrollArea& window = *state_->window;
  const QSize old_size = window.size();
  const bool was_visible = window.isVisible();
  if (width > 0 && height > 0) window.resize(width, height);
  if (!was_visible) {
    window.setAttribute(Qt::WA_DontShowOnScreen, true);
    window.show();
  }
  QApplication::processEvents();
  QImage image = window.grab().toImage();
  if (!was_visible) {
    window.hide();
    window.setAttribute(Qt::WA_DontShowOnScreen, false);
  }
  if (width > 0 && height > 0) window.resize(old_size);
  return image;
}

bool QtBackend::RenderToPng(Form& form, const std::string& path, int width,
                            int height) {
  return Render(form, width, height).save(QString::fromStdString(path), "PNG");
}

QWidget* QtBackend::Window() const { return state_->window.get(); }

QWidget* QtBackend::Content() const { return state_->content; }

QWidget* QtBackend::WidgetOf(const Control& control) const {
  const auto found = state_->realised.find(&control);
  return found == state_->realised.end() ? nullptr : found->second.widget;
}

}  // namespace tabulon::gui
