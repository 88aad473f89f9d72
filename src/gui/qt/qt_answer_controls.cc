#include "gui/qt/qt_answer_controls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include "gui/qt/qt_widgets.h"

namespace tabulon::gui::qt {
namespace {

QString FromUtf8(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QAbstractButton* NewChoiceButton(QWidget* parent, Control& control) {
  QAbstractButton* button =
      control.Kind() == ControlKind::kRadioButton
          ? static_cast<QAbstractButton*>(new QRadioButton(parent))
          : new QCheckBox(parent);
  Control* chosen = &control;
  QObject::connect(button, &QAbstractButton::toggled,
                   [chosen](bool checked) { chosen->SetChecked(checked); });
  return button;
}

QLineEdit* NewTextField(QWidget* parent, Control& control) {
  auto* field = new QLineEdit(parent);
  QPalette palette = field->palette();
  palette.setColor(QPalette::Base, ToQColor(control.EffectiveColour()));
  palette.setColor(QPalette::Text, Qt::black);
  field->setPalette(palette);
  Control* typed = &control;
  QObject::connect(field, &QLineEdit::textEdited, [typed](const QString& text) {
    typed->SetText(text.toUtf8().toStdString());
  });
  // Return is not connected to anything: it never saves.
  return field;
}

// A radio button is let go of with its group's exclusiveness off for the
// moment: an exclusive group never lets its last chosen button go, and a
// form cleared for the next pupil needs none chosen.
void SetButtonChecked(QAbstractButton* button, bool checked) {
  if (button->isChecked() == checked) return;
  const bool exclusive = button->autoExclusive();
  if (!checked) button->setAutoExclusive(false);
  button->setChecked(checked);
  button->setAutoExclusive(exclusive);
}

}  // namespace

bool IsAnswerControl(ControlKind kind) {
  return kind == ControlKind::kRadioButton || kind == ControlKind::kCheckBox ||
         kind == ControlKind::kTextField;
}

QWidget* NewAnswerWidget(QWidget* parent, Control& control) {
  if (control.Kind() == ControlKind::kTextField) {
    return NewTextField(parent, control);
  }
  return NewChoiceButton(parent, control);
}

void ApplyAnswerWidget(QWidget* widget, const Control& control) {
  if (control.Kind() == ControlKind::kTextField) {
    auto* field = static_cast<QLineEdit*>(widget);
    const QString text = FromUtf8(control.Text());
    if (field->text() != text) field->setText(text);
    const QString name = ToQString(WithoutAmpersands(control.Caption()));
    if (field->accessibleName() != name) field->setAccessibleName(name);
    return;
  }
  auto* button = static_cast<QAbstractButton*>(widget);
  const QString caption = ToQString(control.Caption());
  if (button->text() != caption) button->setText(caption);
  SetButtonChecked(button, control.Checked());
}

}  // namespace tabulon::gui::qt
