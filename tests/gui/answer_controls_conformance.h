// What every real backend must do with the answer controls, written once and
// run on each: a person's clicks and keystrokes reach the control's state,
// the state reaches the screen, a radio group keeps one choice, Return in a
// text field presses nothing, a screen reader hears each control by its
// caption, and Tab goes top to bottom. A backend supplies a driver that acts
// as the person and the screen reader would.
#ifndef TABULON_TESTS_GUI_ANSWER_CONTROLS_CONFORMANCE_H_
#define TABULON_TESTS_GUI_ANSWER_CONTROLS_CONFORMANCE_H_

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gui/backend.h"
#include "gui/controls.h"

namespace tabulon::gui::conformance {

class AnswerControlsDriver {
 public:
  virtual ~AnswerControlsDriver() = default;
  virtual Backend& TheBackend() = 0;
  // As a person does it, through the backend's own window.
  virtual void Click(const Control& control) = 0;
  virtual void Type(const Control& field, const std::string& utf8) = 0;
  virtual void PressReturn(const Control& field) = 0;
  // What the screen shows and a screen reader hears (UTF-8).
  virtual bool ShowsChecked(const Control& control) = 0;
  virtual std::string ShownText(const Control& field) = 0;
  virtual std::string SpokenName(const Control& control) = 0;
  // False where the platform's accessibility layer cannot be asked for a
  // text field's name (the test then says so instead).
  virtual bool NamesTextFields() { return true; }
  // The controls' names in the order Tab visits them, from the first.
  virtual std::vector<std::string> TabChain(Form& form) = 0;
};

inline std::vector<ControlLayout> AnswerDescription() {
  auto in_block = [](ControlKind kind, std::string name, int top,
                     std::string caption, int tab) {
    return ControlLayout{.kind = kind,
                         .name = std::move(name),
                         .parent = "Block",
                         .left = 16,
                         .top = top,
                         .width = 200,
                         .height = 22,
                         .caption_utf8 = std::move(caption),
                         .tab_order = tab};
  };
  return {
      {.kind = ControlKind::kGroupBox,
       .name = "Block",
       .left = 8,
       .top = 8,
       .width = 240,
       .height = 150,
       .caption_utf8 = "通学"},
      in_block(ControlKind::kRadioButton, "Walk", 28, "徒歩", 0),
      in_block(ControlKind::kRadioButton, "Bus", 54, "バス", 1),
      in_block(ControlKind::kCheckBox, "Spring", 80, "春", 2),
      in_block(ControlKind::kTextField, "Field", 106, "感想", 3),
      {.kind = ControlKind::kButton,
       .name = "Save",
       .left = 8,
       .top = 170,
       .width = 120,
       .height = 32,
       .caption_utf8 = "保存する",
       .tab_order = 4},
  };
}

inline const ControlLayout kAnswerFormLayout{
    .kind = ControlKind::kForm,
    .name = "Form",
    .width = 320,
    .height = 260,
    .font = {std::string(kProportionalFace), 16, false},
    .colour = Colour::Of(SystemColour::kButtonFace),
    .caption_utf8 = "回答"};

// Realises the form and checks everything above. `form` is built from
// AnswerDescription() and not yet realised.
inline void CheckAnswerControls(AnswerControlsDriver& driver, Form& form) {
  int saves = 0;
  form["Save"].on_click = [&saves] { ++saves; };
  Backend& backend = driver.TheBackend();
  backend.Realise(form);
  Control& walk = form["Walk"];
  Control& bus = form["Bus"];
  Control& spring = form["Spring"];
  Control& field = form["Field"];

  driver.Click(walk);
  driver.Click(bus);
  EXPECT_FALSE(walk.Checked());
  EXPECT_TRUE(bus.Checked());
  EXPECT_FALSE(driver.ShowsChecked(walk));
  driver.Click(spring);
  EXPECT_TRUE(spring.Checked());
  driver.Click(spring);
  EXPECT_FALSE(spring.Checked());

  // Typed text arrives whole, what code page 932 lacks included.
  driver.Type(field, "あa\U0001F600");
  EXPECT_EQ(field.Text(), "あa\U0001F600");
  driver.PressReturn(field);
  EXPECT_EQ(saves, 0);
  EXPECT_EQ(field.Text(), "あa\U0001F600");

  // The form cleared for the next pupil shows cleared.
  bus.SetChecked(false);
  spring.SetChecked(true);
  field.SetText("");
  backend.Sync(form);
  EXPECT_FALSE(driver.ShowsChecked(bus));
  EXPECT_TRUE(driver.ShowsChecked(spring));
  EXPECT_EQ(driver.ShownText(field), "");

  EXPECT_EQ(driver.SpokenName(form["Block"]), "通学");
  EXPECT_EQ(driver.SpokenName(walk), "徒歩");
  EXPECT_EQ(driver.SpokenName(spring), "春");
  if (driver.NamesTextFields()) {
    EXPECT_EQ(driver.SpokenName(field), "感想");
  } else {
    std::printf("NOTE: a text field's spoken name is not checked here\n");
  }
  EXPECT_EQ(driver.SpokenName(form["Save"]), "保存する");
  EXPECT_EQ(
      driver.TabChain(form),
      (std::vector<std::string>{"Walk", "Bus", "Spring", "Field", "Save"}));
}

// The conformance form built on the driver's backend, then checked.
template <typename Driver>
void BuildAndCheckAnswerControls(Driver& driver) {
  Form form(kAnswerFormLayout, driver.TheBackend(), &driver.TheBackend());
  form.Build(AnswerDescription());
  CheckAnswerControls(driver, form);
}

}  // namespace tabulon::gui::conformance

#endif  // TABULON_TESTS_GUI_ANSWER_CONTROLS_CONFORMANCE_H_
