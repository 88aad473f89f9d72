#include "answer/answer_layout.h"

#include <algorithm>

#include "platform/codepage.h"
#include "survey/answer_file.h"
#include "text/fixed_texts.h"

namespace tabulon::answer {
namespace {

using gui::Colour;
using gui::ControlKind;
using gui::ControlLayout;
using gui::Font;
using gui::SystemColour;
using survey::Questionnaire;
using text::FixedText;

constexpr int kMargin = 16;
constexpr int kFontSize = 16;
constexpr int kTitleSize = 24;
constexpr int kRowHeight = 26;    // one radio button or check box
constexpr int kFieldHeight = 26;  // a text field
constexpr int kBlockTop = 28;     // a block's first row, below its caption
constexpr int kBlockGap = 12;
constexpr int kLeastContentWidth = 480;
constexpr int kMostContentWidth = 880;
// The window's frame and a vertical scroll bar, which a long form shows.
constexpr int kFrameWidth = 8 + 17;
constexpr int kFrameHeight = 8 + 19;

Font Proportional(int pixel_size, bool bold = false) {
  return {std::string(gui::kProportionalFace), pixel_size, bold};
}

// Laying out goes top to bottom; `top` is where the next control goes.
struct Cursor {
  const Questionnaire& questionnaire;
  gui::TextMetrics& metrics;
  int width;  // of the content, between the margins
  int top = 12;
  int tab = 0;
  std::vector<ControlLayout> out = {};
  std::vector<std::pair<std::string, std::string>> captions = {};

  int Measure(const std::string& cp932, int size = kFontSize) {
    return metrics.Measure(Proportional(size), cp932).width;
  }
};

// The widest caption decides the content's width, within bounds.
int ContentWidth(const Questionnaire& questionnaire,
                 gui::TextMetrics& metrics) {
  const Font font = Proportional(kFontSize);
  int widest =
      metrics.Measure(Proportional(kTitleSize, true), questionnaire.title)
          .width;
  for (int q = 1; q <= survey::kQuestionCount; ++q) {
    const survey::Question& question = questionnaire.At(q);
    if (!question.InUse()) break;
    widest = std::max(
        widest,
        metrics.Measure(font, BlockCaption(questionnaire, q)).width + 24);
    for (int c = 1; c <= survey::ChoicesOffered(question); ++c) {
      widest = std::max(widest,
                        metrics.Measure(font, question.Choice(c)).width + 64);
    }
  }
  return std::clamp(widest, kLeastContentWidth, kMostContentWidth);
}

void AddHeading(Cursor& at) {
  at.out.push_back({.kind = ControlKind::kLabel,
                    .name = kTitleName,
                    .left = kMargin,
                    .top = at.top,
                    .width = at.width,
                    .height = kTitleSize + 4,
                    .font = Proportional(kTitleSize, true)});
  at.captions.emplace_back(kTitleName, at.questionnaire.title);
  at.top += kTitleSize + 12;
  // The description wraps; its lines are counted from its width.
  const std::string& description = at.questionnaire.description;
  const int lines = 1 + at.Measure(description) / std::max(1, at.width - 24);
  const int height = lines * (kFontSize + 4);
  at.out.push_back({.kind = ControlKind::kLabel,
                    .name = kDescriptionName,
                    .left = kMargin,
                    .top = at.top,
                    .width = at.width,
                    .height = height,
                    .word_wrap = true});
  at.captions.emplace_back(kDescriptionName, description);
  at.top += height + 12;
}

void AddNameField(Cursor& at) {
  const std::string& label = text::Text(FixedText::kNameFieldLabel);
  const int label_width = at.Measure(label) + 8;
  at.out.push_back({.kind = ControlKind::kLabel,
                    .name = kNameLabelName,
                    .left = kMargin,
                    .top = at.top + 5,
                    .width = label_width,
                    .height = kFontSize + 2,
                    .caption_utf8 = platform::Cp932ToUtf8(label)});
  at.out.push_back({.kind = ControlKind::kTextField,
                    .name = kNameFieldName,
                    .left = kMargin + label_width + 8,
                    .top = at.top,
                    .width = std::min(320, at.width - label_width - 8),
                    .height = kFieldHeight,
                    .colour = Colour::Of(SystemColour::kWindow),
                    .caption_utf8 = platform::Cp932ToUtf8(label),
                    .tab_order = at.tab++});
  at.top += kFieldHeight + kBlockGap + 4;
}

// Inside a block: its radio buttons or check boxes, or its text field.
// Returns the height the block's content takes.
int AddBlockContent(Cursor& at, int q, const std::string& block) {
  const survey::Question& question = at.questionnaire.At(q);
  const int inner = at.width - 2 * kMargin;
  if (question.IsText()) {
    at.out.push_back({.kind = ControlKind::kTextField,
                      .name = TextFieldName(q),
                      .parent = block,
                      .left = kMargin,
                      .top = kBlockTop,
                      .width = inner,
                      .height = kFieldHeight,
                      .colour = Colour::Of(SystemColour::kWindow),
                      .tab_order = at.tab++});
    at.captions.emplace_back(TextFieldName(q),
                             BlockCaption(at.questionnaire, q));
    return kFieldHeight;
  }
  const ControlKind kind =
      question.kind == "R" ? ControlKind::kRadioButton : ControlKind::kCheckBox;
  const int offered = survey::ChoicesOffered(question);
  for (int c = 1; c <= offered; ++c) {
    at.out.push_back({.kind = kind,
                      .name = ChoiceName(q, c),
                      .parent = block,
                      .left = kMargin,
                      .top = kBlockTop + (c - 1) * kRowHeight,
                      .width = inner,
                      .height = kRowHeight - 4,
                      .tab_order = at.tab++});
    at.captions.emplace_back(ChoiceName(q, c), question.Choice(c));
  }
  return offered * kRowHeight - 4;
}

void AddQuestionBlock(Cursor& at, int q) {
  const std::string block = BlockName(q);
  const std::size_t index = at.out.size();
  at.out.push_back({.kind = ControlKind::kGroupBox,
                    .name = block,
                    .left = kMargin,
                    .top = at.top,
                    .width = at.width});
  at.captions.emplace_back(block, BlockCaption(at.questionnaire, q));
  const int height = kBlockTop + AddBlockContent(at, q, block) + 12;
  at.out[index].height = height;
  at.top += height + kBlockGap;
}

void AddSaveButton(Cursor& at) {
  at.out.push_back({.kind = ControlKind::kButton,
                    .name = kSaveButtonName,
                    .left = kMargin,
                    .top = at.top + 4,
                    .width = 160,
                    .height = 36,
                    .caption_utf8 = platform::Cp932ToUtf8(
                        text::Text(FixedText::kSaveCaption)),
                    .tab_order = at.tab++});
  at.top += 4 + 36 + kMargin;
}

Cursor LaidOut(const Questionnaire& questionnaire, gui::TextMetrics& metrics) {
  Cursor at{questionnaire, metrics, ContentWidth(questionnaire, metrics)};
  AddHeading(at);
  AddNameField(at);
  for (int q = 1; q <= survey::kQuestionCount; ++q) {
    if (!questionnaire.At(q).InUse()) break;
    AddQuestionBlock(at, q);
  }
  AddSaveButton(at);
  return at;
}

}  // namespace

std::string BlockName(int q) { return "Question" + std::to_string(q); }
std::string ChoiceName(int q, int c) {
  return "Choice" + std::to_string(q) + "_" + std::to_string(c);
}
std::string TextFieldName(int q) { return "Text" + std::to_string(q); }

std::string BlockCaption(const Questionnaire& questionnaire, int q) {
  const std::string& question_text = questionnaire.At(q).text;
  if (!question_text.empty()) return question_text;
  return text::Text(FixedText::kHeadlinePrefix) + std::to_string(q) +
         text::Text(FixedText::kHeadlineSuffix);
}

AnswerLayout LayOutAnswerForm(const Questionnaire& questionnaire,
                              gui::TextMetrics& metrics) {
  Cursor at = LaidOut(questionnaire, metrics);
  at.captions.emplace_back(kFormName, questionnaire.title);
  return {.form = {.kind = ControlKind::kForm,
                   .name = kFormName,
                   .left = 40,
                   .top = 20,
                   .width = at.width + 2 * kMargin + kFrameWidth,
                   .height = std::min(kMostWindowHeight, at.top + kFrameHeight),
                   .font = Proportional(kFontSize),
                   .colour = Colour::Of(SystemColour::kButtonFace)},
          .controls = std::move(at.out),
          .captions = std::move(at.captions)};
}

}  // namespace tabulon::answer
