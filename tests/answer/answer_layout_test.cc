// The answer form's computed layout, where it can go wrong: for the sample
// and for ten questions of every kind, every control lies inside its
// parent, no two siblings overlap, Tab goes top to bottom, and a form
// taller than the window scrolls instead of growing.
#include "answer/answer_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gui/headless_backend.h"
#include "support/scratch_folder.h"

namespace tabulon::answer {
namespace {

using gui::ControlLayout;
using test_support::Cp932;

survey::Questionnaire Sample() {
  return survey::ParseQuestionnaire(
      {Cp932("２年１組　学校生活アンケート"),
       Cp932("この一年間の学校生活について、あてはまるものを選んでください。"),
       "", Cp932("[R]学校は楽しいですか。"), Cp932("とても楽しい"),
       Cp932("まあまあ楽しい"), "", Cp932("[C]好きな教科を選んでください。"),
       Cp932("国語"), Cp932("数学"), Cp932("英語"), "",
       Cp932("[T]学校生活でいちばん思い出に残っていることは何ですか。")});
}

// Ten questions, five choices each where they have choices, one with a
// caption longer than any window, one without text.
survey::Questionnaire TenQuestions() {
  std::vector<std::string> lines = {"Ten", std::string(300, 'd'), ""};
  const std::string kinds = "RCTRCTRCTR";
  for (int q = 1; q <= 10; ++q) {
    std::string text = q == 4 ? std::string(200, 'x') : "Q" + std::to_string(q);
    if (q == 7) text.clear();
    lines.push_back(std::string("[") + kinds[q - 1] + "]" + text);
    if (kinds[q - 1] == 'T') continue;
    for (int c = 1; c <= 5; ++c) lines.push_back("choice " + std::to_string(c));
    lines.push_back("");
  }
  return survey::ParseQuestionnaire(lines);
}

struct Box {
  int left, top, right, bottom;
};
Box BoxOf(const ControlLayout& c) {
  return {c.left, c.top, c.left + c.width, c.top + c.height};
}
bool Overlap(const Box& a, const Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom &&
         b.top < a.bottom;
}

void CheckLayout(const survey::Questionnaire& questionnaire) {
  gui::HeadlessBackend metrics;
  const AnswerLayout layout = LayOutAnswerForm(questionnaire, metrics);
  // The client area's width (frame and scroll bar off), and the parents.
  const int client_width = layout.form.width - 25;
  auto parent_of = [&](const ControlLayout& c) -> Box {
    if (c.parent.empty()) return {0, 0, client_width, 1 << 20};
    for (const ControlLayout& p : layout.controls) {
      if (p.name == c.parent) return {0, 0, p.width, p.height};
    }
    ADD_FAILURE() << "no parent " << c.parent;
    return {};
  };
  int content_bottom = 0;
  for (const ControlLayout& c : layout.controls) {
    const Box box = BoxOf(c);
    const Box parent = parent_of(c);
    EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= parent.right &&
                box.bottom <= parent.bottom)
        << c.name << " outside " << c.parent;
    EXPECT_GT(c.height, 0) << c.name;
    if (c.parent.empty()) content_bottom = std::max(content_bottom, box.bottom);
    for (const ControlLayout& other : layout.controls) {
      if (&other == &c || other.parent != c.parent) continue;
      EXPECT_FALSE(Overlap(box, BoxOf(other))) << c.name << " / " << other.name;
    }
  }
  EXPECT_LE(layout.form.height, kMostWindowHeight);
  // Tab order: by place on the page, top to bottom.
  std::vector<std::pair<int, int>> tops;  // tab order, absolute top
  for (const ControlLayout& c : layout.controls) {
    if (c.tab_order < 0) continue;
    const int parent_top = c.parent.empty() ? 0 : [&] {
      for (const ControlLayout& p : layout.controls) {
        if (p.name == c.parent) return p.top;
      }
      return 0;
    }();
    tops.emplace_back(c.tab_order, parent_top + c.top);
  }
  std::sort(tops.begin(), tops.end());
  for (std::size_t i = 1; i < tops.size(); ++i) {
    EXPECT_EQ(tops[i].first, tops[i - 1].first + 1);
    EXPECT_LE(tops[i - 1].second, tops[i].second) << "tab " << tops[i].first;
  }
}

TEST(AnswerLayoutTest, SampleFitsWithTabTopToBottom) {
  CheckLayout(Sample());
  gui::HeadlessBackend metrics;
  const AnswerLayout layout = LayOutAnswerForm(Sample(), metrics);
  // Name field, 2 + 3 choices, one text field, the save button.
  const int focusable = static_cast<int>(
      std::count_if(layout.controls.begin(), layout.controls.end(),
                    [](const ControlLayout& c) { return c.tab_order >= 0; }));
  EXPECT_EQ(focusable, 1 + 5 + 1 + 1);
}

TEST(AnswerLayoutTest, TenQuestionsScrollInsteadOfGrowing) {
  CheckLayout(TenQuestions());
  gui::HeadlessBackend metrics;
  const AnswerLayout layout = LayOutAnswerForm(TenQuestions(), metrics);
  const ControlLayout& save = layout.controls.back();
  EXPECT_EQ(save.name, kSaveButtonName);
  EXPECT_GT(save.top + save.height, layout.form.height);  // below: scrolled to
  // The caption of a question without text names it by its number.
  const auto seventh = std::find_if(
      layout.captions.begin(), layout.captions.end(),
      [](const auto& caption) { return caption.first == BlockName(7); });
  ASSERT_NE(seventh, layout.captions.end());
  EXPECT_EQ(seventh->second, Cp932("第7問目"));
}

}  // namespace
}  // namespace tabulon::answer
