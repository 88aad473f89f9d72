// The Qt backend's own widgets and text layout (private to the backend):
// fonts with the integer advances the desktop measures with, captions laid
// out glyph by glyph with the ampersand rule and word wrap, and the labels
// and group boxes that paint themselves as the desktop paints them.
#ifndef TABULON_GUI_QT_QT_WIDGETS_H_
#define TABULON_GUI_QT_QT_WIDGETS_H_

#include <QAbstractListModel>
#include <QAccessible>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <QStyledItemDelegate>
#include <QWidget>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "gui/controls.h"

class QPainter;

namespace tabulon::gui::qt {

QString ToQString(std::string_view cp932);
QColor ToQColor(Rgb rgb);
// A lone CR, or CR LF, is a line break on the desktop.
QString WithLineBreaks(QString text);

// The Qt family a desktop face is drawn with (an IPA face when the desktop
// face is not installed).
std::string FamilyFor(const std::string& face);

// One font as the backend draws and measures it, with the integer advance of
// every character seen so far.
class FontEntry {
 public:
  explicit FontEntry(const Font& font);

  const QFont& QtFont() const { return font_; }
  const QFontMetrics& Metrics() const { return metrics_; }
  int Advance(const QString& character);

 private:
  QFont font_;
  QFontMetrics metrics_;
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

// The text's glyphs, every character as it is.
std::vector<Glyph> Glyphs(const QString& caption, FontEntry& font);
// A caption's glyphs (CP932) under the ampersand rule.
std::vector<Glyph> ShownGlyphs(std::string_view cp932, FontEntry& font);

// A control that paints its caption itself: opaque in its colour, in the
// project's integer-advance glyph layout. What it paints is also what a
// screen reader gets: its accessible name is the caption as shown (without
// the ampersand markers).
class CaptionWidget : public QWidget {
 public:
  CaptionWidget(QWidget* parent, FontEntry& font, QColor back);
  // Lays out, repaints and renames only when the caption (CP932) differs.
  void SetCaption(std::string_view cp932);

  // The caption as shown. A caption of blanks shows no text, only a block of
  // colour (a bar): it reads as the widget it is read with, when it has one.
  QString AccessibleName() const;
  void SetReadWith(const CaptionWidget* partner) { read_with_ = partner; }
  bool IsBar() const;
  virtual QAccessible::Role AccessibleRole() const = 0;

  // Lets Qt's accessibility ask these widgets (and the main window) for their
  // names, roles and states (again for every new application; a second call
  // changes nothing).
  static void InstallAccessibility();

 protected:
  FontEntry& font_;
  QColor back_;
  std::vector<Glyph> glyphs_;

 private:
  bool laid_out_ = false;
  std::string caption_;
  QString shown_;
  const CaptionWidget* read_with_ = nullptr;
};

// A label: opaque fill in its colour, then its caption left-aligned,
// clipped, with the ampersand rule and optional word wrap.
class LabelWidget : public CaptionWidget {
 public:
  LabelWidget(QWidget* parent, FontEntry& font, QColor back, bool wrap)
      : CaptionWidget(parent, font, back), wrap_(wrap) {}
  // Static text; a bar is read as a progress bar: the one bar the desktop's
  // screen readers know (no value is offered, so none of them reads or
  // announces a percentage).
  QAccessible::Role AccessibleRole() const override;

 protected:
  void paintEvent(QPaintEvent*) override;

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
  QAccessible::Role AccessibleRole() const override {
    return QAccessible::Grouping;
  }

 protected:
  void paintEvent(QPaintEvent*) override;
};

// A list box's items as Qt sees them: a model over the control's own items
// that holds no copy of them. Qt asks only for the rows it lays out or reads
// aloud, each converted from CP932; a row past the control's last item reads
// as empty.
class ItemListModel : public QAbstractListModel {
 public:
  ItemListModel(const Control& list, QObject* parent)
      : QAbstractListModel(parent), list_(list) {}
  int rowCount(const QModelIndex& parent) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // Every row gone, after the control's items were cleared.
  void Clear();
  // `count` rows more at the end, in one insertion.
  void Grow(int count);

 private:
  const Control& list_;
  int rows_ = 0;
};

// Gives every list item the list's fixed item height.
class ItemHeightDelegate : public QStyledItemDelegate {
 public:
  ItemHeightDelegate(QObject* parent, int height)
      : QStyledItemDelegate(parent), height_(height) {}
  QSize sizeHint(const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

 private:
  int height_;
};

}  // namespace tabulon::gui::qt

#endif  // TABULON_GUI_QT_QT_WIDGETS_H_
