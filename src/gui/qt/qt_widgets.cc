#include "gui/qt/qt_widgets.h"

#include <QAccessibleWidget>
#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <algorithm>
#include <map>
#include <utility>

#include "gui/ampersand_rule.h"
#include "platform/codepage.h"

namespace tabulon::gui::qt {
namespace {

// Where a group box's caption starts.
constexpr int kGroupCaptionLeft = 8;

bool IsBlank(const QString& text) {
  return std::all_of(text.begin(), text.end(),
                     [](QChar c) { return c.isSpace(); });
}

bool IsWide(const Glyph& glyph) { return glyph.text.front().unicode() >= 0x80; }

bool IsBreakableAfter(const Glyph& glyph) {
  return glyph.text == u" " || IsWide(glyph);
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
      if (!IsWide(glyph)) {
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

QFont MakeFont(const Font& font) {
  QFont qt_font;
  qt_font.setFamilies({QString::fromStdString(FamilyFor(font.face))});
  qt_font.setPixelSize(std::max(1, font.pixel_size));
  qt_font.setBold(font.bold);
  return qt_font;
}

}  // namespace

QString ToQString(std::string_view cp932) {
  return QString::fromStdString(platform::Cp932ToUtf8(cp932));
}

QColor ToQColor(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

QString WithLineBreaks(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar(u'\r'), QChar(u'\n'));
  return text;
}

std::string FamilyFor(const std::string& face) {
  // Asking the font database whether a family is installed runs fontconfig's
  // substitution each time; with a font entry per size and weight that was
  // asked a dozen times at start-up. The answer for a face is kept.
  static std::map<std::string, std::string> families;
  const auto known = families.find(face);
  if (known != families.end()) return known->second;
  std::string family = face;
  if (!face.empty() &&
      !QFontDatabase::hasFamily(QString::fromStdString(face))) {
    if (face == kProportionalFace) family = "IPAPGothic";
    if (face == kFixedPitchFace) family = "IPAGothic";
  }
  families.emplace(face, family);
  return family;
}

FontEntry::FontEntry(const Font& font)
    : font_(MakeFont(font)), metrics_(font_) {}

int FontEntry::Advance(const QString& character) {
  const char32_t key = character.size() == 1
                           ? character[0].unicode()
                           : QChar::surrogateToUcs4(character[0], character[1]);
  const auto found = advances_.find(key);
  if (found != advances_.end()) return found->second;
  const int advance = metrics_.horizontalAdvance(character);
  advances_.emplace(key, advance);
  return advance;
}

std::vector<Glyph> Glyphs(const QString& caption, FontEntry& font) {
  std::vector<Glyph> glyphs;
  glyphs.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    const QChar c = caption[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < caption.size() && caption[i + 1] == u'\n') ++i;
      glyphs.push_back({{}, 0, false, true});
      continue;
    }
    QString text(c);
    if (c.isHighSurrogate() && i + 1 < caption.size()) text += caption[++i];
    glyphs.push_back({text, font.Advance(text), false, false});
  }
  return glyphs;
}

std::vector<Glyph> ShownGlyphs(std::string_view cp932, FontEntry& font) {
  std::vector<Glyph> glyphs;
  for (const ShownRun& run : ShownRuns(cp932)) {
    for (Glyph& glyph : Glyphs(ToQString(run.cp932), font)) {
      glyph.underline = run.underlined && !glyph.line_break;
      glyphs.push_back(std::move(glyph));
    }
  }
  return glyphs;
}

// Its accessible name and role come from the widget, asked afresh each time:
// a bar's name follows the caption of the count it is read with.
class CaptionAccessible : public QAccessibleWidget {
 public:
  explicit CaptionAccessible(CaptionWidget* widget)
      : QAccessibleWidget(widget) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return Caption().AccessibleName();
    return QAccessibleWidget::text(t);
  }
  QAccessible::Role role() const override { return Caption().AccessibleRole(); }
  // What lies wholly beneath a shown control stacked above it (the rows
  // behind a free-text question's list, panel 9 under panel 7) cannot be
  // seen, so it is not read either.
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    if (IsCovered()) state.invisible = true;
    return state;
  }

 private:
  const CaptionWidget& Caption() const {
    return *static_cast<const CaptionWidget*>(widget());
  }

  // Siblings later in the parent's order lie above.
  bool IsCovered() const {
    const QWidget* self = widget();
    const QWidget* parent = self->parentWidget();
    if (parent == nullptr) return false;
    const QObjectList& siblings = parent->children();
    for (qsizetype i = siblings.indexOf(self) + 1; i < siblings.size(); ++i) {
      const auto* above = qobject_cast<const QWidget*>(siblings[i]);
      if (above != nullptr && above->isVisible() &&
          above->geometry().contains(self->geometry())) {
        return true;
      }
    }
    return false;
  }
};

QAccessibleInterface* CaptionAccessibleFactory(const QString&,
                                               QObject* object) {
  if (auto* widget = dynamic_cast<CaptionWidget*>(object)) {
    return new CaptionAccessible(widget);
  }
  // The main window is a scroll area; it is read as the window it is.
  auto* area = qobject_cast<QScrollArea*>(object);
  if (area != nullptr && area->isWindow()) {
    return new QAccessibleWidget(area, QAccessible::Window);
  }
  return nullptr;
}

CaptionWidget::CaptionWidget(QWidget* parent, FontEntry& font, QColor back)
    : QWidget(parent), font_(font), back_(back) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CaptionWidget::SetCaption(std::string_view cp932) {
  if (laid_out_ && cp932 == caption_) return;
  laid_out_ = true;
  caption_ = cp932;
  glyphs_ = ShownGlyphs(cp932, font_);
  shown_.clear();
  for (const Glyph& glyph : glyphs_) {
    shown_ += glyph.line_break ? QStringLiteral("\n") : glyph.text;
  }
  update();
  QAccessibleEvent renamed(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&renamed);
}

bool CaptionWidget::IsBar() const {
  return read_with_ != nullptr && !shown_.isEmpty() && IsBlank(shown_);
}

QString CaptionWidget::AccessibleName() const {
  return IsBar() ? read_with_->AccessibleName() : shown_;
}

void CaptionWidget::InstallAccessibility() {
  // Once per application: Qt forgets its factories when one ends, and
  // installs the same factory only once.
  QAccessible::installFactory(CaptionAccessibleFactory);
}

QAccessible::Role LabelWidget::AccessibleRole() const {
  return IsBar() ? QAccessible::ProgressBar : QAccessible::StaticText;
}

void LabelWidget::paintEvent(QPaintEvent*) {
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

void GroupBoxWidget::paintEvent(QPaintEvent*) {
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
  PaintLine(painter, font_, Lines(glyphs_, 0, false).front(), kGroupCaptionLeft,
            0);
}

int ItemListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

QVariant ItemListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const ItemList& items = list_.Items();
  const auto row = static_cast<std::size_t>(index.row());
  return row < items.size() ? ToQString(items[row]) : QString();
}

void ItemListModel::Clear() {
  beginResetModel();
  rows_ = 0;
  endResetModel();
}

void ItemListModel::Grow(int count) {
  if (count <= 0) return;
  beginInsertRows(QModelIndex(), rows_, rows_ + count - 1);
  rows_ += count;
  endInsertRows();
}

QSize ItemHeightDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  if (height_ > 0) size.setHeight(height_);
  return size;
}

}  // namespace tabulon::gui::qt
