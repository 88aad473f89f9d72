#include "gui/qt/qt_backend.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QWidget>
#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "gui/qt/qt_answer_controls.h"
#include "gui/qt/qt_live.h"
#include "gui/qt/qt_widgets.h"
#include "gui/realisation.h"

namespace tabulon::gui {
namespace {

using qt::FontEntry;
using qt::ToQColor;
using qt::ToQString;
using qt::WithLineBreaks;

// The desktop frame around the client area: a 4 px sizing border on every
// side and a 19 px caption, the classic metrics at 96 dpi.
constexpr int kFrameBorder = 4;
constexpr int kCaptionHeight = 19;

// A box with the icon and one OK button, application-modal; a lone CR in
// the message breaks the line.
void ShowOkBox(QMessageBox::Icon icon, const QString& caption,
               const QString& message) {
  QMessageBox box(icon, caption, WithLineBreaks(message), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

int g_argc = 1;
char g_arg0[] = "tabulon";
char* g_argv[] = {g_arg0, nullptr};

QListView* NewListWidget(QWidget* parent, const Control& control, QColor back) {
  auto* list = new QListView(parent);
  list->setModel(new qt::ItemListModel(control, list));
  list->setItemDelegate(new qt::ItemHeightDelegate(list, control.ItemHeight()));
  list->setUniformItemSizes(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setTextElideMode(Qt::ElideNone);
  QPalette palette = list->palette();
  palette.setColor(QPalette::Base, back);
  palette.setColor(QPalette::Text, Qt::black);
  list->setPalette(palette);
  return list;
}

// The window's palette: its background colour, black text, button faces in
// the desktop's colour.
QPalette WindowPalette(const Form& form, QPalette palette) {
  palette.setColor(QPalette::Window, ToQColor(form.EffectiveColour()));
  palette.setColor(QPalette::Button,
                   ToQColor(Resolve(SystemColour::kButtonFace)));
  palette.setColor(QPalette::ButtonText, Qt::black);
  palette.setColor(QPalette::WindowText, Qt::black);
  return palette;
}

}  // namespace

struct QtBackend::State {
  // A control's widget.
  struct Realised {
    QWidget* widget = nullptr;
    ShownItems items;
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
        static_cast<qt::LabelWidget*>(widget)->SetCaption(control->Caption());
        break;
      case ControlKind::kGroupBox:
        static_cast<qt::GroupBoxWidget*>(widget)->SetCaption(
            control->Caption());
        break;
      case ControlKind::kButton:
        static_cast<QPushButton*>(widget)->setText(
            ToQString(control->Caption()));
        break;
      case ControlKind::kListBox:
      case ControlKind::kFileList: {
        // The list shows the control's own texts, not copies of them; the
        // items appended since the last look arrive in one insertion.
        auto* model = static_cast<qt::ItemListModel*>(
            static_cast<QListView*>(widget)->model());
        int appended = 0;
        realised.items.CatchUp(
            *control, [model] { model->Clear(); },
            [&appended](std::size_t) { ++appended; });
        model->Grow(appended);
        break;
      }
      case ControlKind::kRadioButton:
      case ControlKind::kCheckBox:
      case ControlKind::kTextField:
        qt::ApplyAnswerWidget(widget, *control);
        break;
      case ControlKind::kForm:
        break;
    }
  }

  // The top-level window: a scroll area whose content holds the layout.
  void CreateWindow(const Form& form) {
    window = std::make_unique<QScrollArea>();
    window->setFrameShape(QFrame::NoFrame);
    window->setWidgetResizable(false);
    window->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QPalette palette = WindowPalette(form, window->palette());
    window->setPalette(palette);
    window->viewport()->setAutoFillBackground(true);
    window->viewport()->setPalette(palette);
    content = new QWidget;
    content->setAutoFillBackground(true);
    content->setPalette(palette);
    content->setFont(FontFor(form.EffectiveFont()).QtFont());
    window->setWidget(content);
  }

  // Labels lie on their parent's surface, beneath its windowed controls;
  // within each group, later ones lie above earlier ones.
  void Stack(const Form& form) {
    for (bool windowed : {false, true}) {
      for (const auto& control : form.Controls()) {
        if (IsWindowed(control->Kind()) == windowed)
          realised.at(control.get()).widget->raise();
      }
    }
  }

  void SetTabOrder(const Form& form) {
    const std::vector<const Control*> order = TabChain(form);
    for (std::size_t i = 1; i < order.size(); ++i) {
      QWidget::setTabOrder(realised.at(order[i - 1]).widget,
                           realised.at(order[i]).widget);
    }
  }

  // What a screen reader needs that the screen shows only by placement: a
  // bar is read with its count, a list is named after its question.
  void RelateForAccessibility(const Form& form) {
    auto caption_widget = [this](const Control* control) {
      return static_cast<qt::CaptionWidget*>(realised.at(control).widget);
    };
    for (const auto& control : form.Controls()) {
      const Control* partner = control->ReadWith();
      if (partner == nullptr) continue;
      if (control->Kind() == ControlKind::kLabel) {
        caption_widget(control.get())->SetReadWith(caption_widget(partner));
      } else {
        list_titles.emplace_back(realised.at(control.get()).widget,
                                 caption_widget(partner));
      }
    }
  }

  // Lists take their question's name whenever it changed.
  void NameLists() {
    for (const auto& [list, title] : list_titles) {
      const QString name = title->AccessibleName();
      if (list->accessibleName() != name) list->setAccessibleName(name);
    }
  }

  // The client area is the outer size less the frame.
  void Place(const Form& form) {
    window->resize(
        std::max(1, form.Width() - 2 * kFrameBorder),
        std::max(1, form.Height() - 2 * kFrameBorder - kCaptionHeight));
    window->move(form.Left(), form.Top());
  }

  std::unique_ptr<QApplication> owned_app;
  std::map<std::tuple<std::string, int, bool>, std::unique_ptr<FontEntry>>
      fonts;
  std::unique_ptr<QScrollArea> window;
  QWidget* content = nullptr;
  Form* form = nullptr;
  std::unordered_map<const Control*, Realised> realised;
  std::vector<std::pair<QWidget*, const qt::CaptionWidget*>> list_titles;
  int busy_depth = 0;
};

QtBackend::QtBackend() : QtBackend(g_argc, g_argv) {}

QtBackend::QtBackend(int& argc, char** argv)
    : state_(std::make_unique<State>()),
      live_(std::make_unique<qt::LiveParts>([this] { TimerElapsed(); })) {
  if (QApplication::instance() == nullptr) {
    state_->owned_app = std::make_unique<QApplication>(argc, argv);
  }
  // Message boxes and anything without a font of its own speak Japanese.
  QFont font;
  font.setFamilies(
      {QString::fromStdString(FamilyFor(std::string(kProportionalFace)))});
  font.setPixelSize(12);
  QApplication::setFont(font);
  qt::CaptionWidget::InstallAccessibility();
}

QtBackend::~QtBackend() {
  live_.reset();
  while (state_->busy_depth > 0) SetBusy(false);
  state_->list_titles.clear();
  state_->realised.clear();
  state_->window.reset();
  state_->fonts.clear();
}

std::string QtBackend::FamilyFor(const std::string& face) {
  return qt::FamilyFor(face);
}

Extent QtBackend::Measure(const Font& font, std::string_view cp932) {
  FontEntry& entry = state_->FontFor(font);
  int width = 0;
  for (const qt::Glyph& glyph : qt::Glyphs(ToQString(cp932), entry)) {
    width += glyph.advance;
  }
  return {width, font.pixel_size};
}

void QtBackend::ShowStop(std::string_view caption, std::string_view message) {
  if (state_->form != nullptr) Sync(*state_->form);
  if (AnsweredUnattended(caption, message, "OK")) return;
  ShowOkBox(QMessageBox::Critical, ToQString(caption), ToQString(message));
}

void QtBackend::ShowNotice(NoticeIcon icon, std::string_view caption,
                           std::string_view message_utf8) {
  if (state_->form != nullptr) Sync(*state_->form);
  if (AnsweredUnattended(caption, message_utf8, "OK", kMessageInUtf8)) return;
  ShowOkBox(icon == NoticeIcon::kStop ? QMessageBox::Critical
                                      : QMessageBox::Information,
            ToQString(caption),
            QString::fromUtf8(message_utf8.data(),
                              static_cast<qsizetype>(message_utf8.size())));
}

bool QtBackend::Confirm(const Confirmation& confirmation) {
  if (state_->form != nullptr) Sync(*state_->form);
  if (AnsweredUnattended(confirmation.caption, confirmation.message,
                         confirmation.yes_button)) {
    return true;
  }
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

std::string QtBackend::ChooseFolder(std::string_view caption) {
  const QString folder = QFileDialog::getExistingDirectory(
      nullptr, ToQString(caption), QDir::currentPath());
  if (folder.isEmpty()) return "";
  return QFile::encodeName(folder).toStdString();
}

std::string QtBackend::ConsoleText(std::string_view cp932) const {
  return ToQString(cp932).toLocal8Bit().toStdString();
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
  state.list_titles.clear();
  state.CreateWindow(form);
  qt::OfferContextMenu(*this, form, {state.window.get(), state.content});
  for (const auto& control : form.Controls()) {
    state.realised[control.get()].widget = CreateWidget(*control);
  }
  state.Stack(form);
  state.SetTabOrder(form);
  state.RelateForAccessibility(form);
  state.Place(form);
  form.MarkAllDirty();
  Sync(form);
}

QWidget* QtBackend::CreateWidget(Control& control) {
  State& state = *state_;
  QWidget* parent =
      control.Parent() == state.form || control.Parent() == nullptr
          ? state.content
          : state.realised.at(control.Parent()).widget;
  FontEntry& font = state.FontFor(control.EffectiveFont());
  const QColor back = ToQColor(control.EffectiveColour());
  QWidget* widget = nullptr;
  switch (control.Kind()) {
    case ControlKind::kLabel:
      widget = new qt::LabelWidget(parent, font, back, control.WordWrap());
      break;
    case ControlKind::kGroupBox:
      widget = new qt::GroupBoxWidget(parent, font, back);
      break;
    case ControlKind::kListBox:
    case ControlKind::kFileList:
      widget = NewListWidget(parent, control, back);
      break;
    case ControlKind::kButton: {
      auto* button = new QPushButton(parent);
      button->setAutoDefault(false);
      Control* clicked = &control;
      QObject::connect(button, &QPushButton::clicked, [this, clicked] {
        RunHandler(*this, *state_->form, clicked->on_click);
      });
      widget = button;
      break;
    }
    case ControlKind::kRadioButton:
    case ControlKind::kCheckBox:
    case ControlKind::kTextField:
      widget = qt::NewAnswerWidget(parent, control);
      break;
    case ControlKind::kForm:
      widget = new QWidget(parent);
      break;
  }
  widget->setFont(font.QtFont());
  widget->setObjectName(QString::fromStdString(control.Name()));
  if (!TakesFocus(control)) widget->setFocusPolicy(Qt::NoFocus);
  return widget;
}

void QtBackend::Sync(Form& form) {
  State& state = *state_;
  if (!state.window) return;
  const bool window_changed = TakeChanges(form, [&](Control& control) {
    if (&control == &form) {
      state.window->setWindowTitle(ToQString(form.Caption()));
      return;
    }
    state.Apply(&control);
  });
  state.NameLists();
  if (!window_changed) return;
  const Extent content = ContentExtent(form);
  state.content->setFixedSize(content.width, content.height);
}

void QtBackend::Quit(Form&) {
  if (state_->window) state_->window->close();
  QApplication::quit();
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

bool QtBackend::SaveScreenshot(Form& form, const std::string& path) {
  return RenderToPng(form, path);
}

std::unique_ptr<Backend> NewDesktopBackend(int& argc, char** argv) {
  return std::make_unique<QtBackend>(argc, argv);
}

QWidget* QtBackend::Window() const { return state_->window.get(); }

QWidget* QtBackend::Content() const { return state_->content; }

QWidget* QtBackend::WidgetOf(const Control& control) const {
  const auto found = state_->realised.find(&control);
  return found == state_->realised.end() ? nullptr : found->second.widget;
}

}  // namespace tabulon::gui
