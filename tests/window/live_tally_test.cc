// When live results tally: scripts of folder changes, quiet times and tally
// outcomes, each step with what the decision must be.
#include "window/live_tally.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tabulon::window {
namespace {

using Stage = TallyFailure::Stage;
using Verdict = LiveTally::Verdict;

constexpr std::int64_t kNow = 1'000'000'000'000;
constexpr std::int64_t kLongAgo = kNow - 60 * 10'000'000LL;
constexpr std::int64_t kJustNow = kNow - 5'000'000;  // half a second

AnswerFileStamp File(std::string name, std::int64_t size = 40,
                     std::int64_t modified = kLongAgo) {
  return {std::move(name), size, modified};
}

// One step of a script and what LiveTally must answer: for a change, whether
// the quiet time starts again; for a quiet time, whether the tally runs; for
// a failed tally, the verdict.
struct Step {
  enum class Kind { kChange, kQuiet, kFail, kDone } kind;
  std::string name = {};
  std::vector<AnswerFileStamp> files = {};
  std::int64_t now = kNow;
  TallyFailure failure = {};
  bool yes = false;
  Verdict verdict = Verdict::kShow;
};

Step Change(std::string name, bool restarts) {
  return {
      .kind = Step::Kind::kChange, .name = std::move(name), .yes = restarts};
}
Step Quiet(std::vector<AnswerFileStamp> files, bool tallies,
           std::int64_t now = kNow) {
  return {.kind = Step::Kind::kQuiet,
          .files = std::move(files),
          .now = now,
          .yes = tallies};
}
Step Fail(Stage stage, int code, std::vector<AnswerFileStamp> files,
          Verdict verdict, std::int64_t now = kNow,
          std::string message = "message") {
  return {.kind = Step::Kind::kFail,
          .files = std::move(files),
          .now = now,
          .failure = {stage, code, std::move(message)},
          .verdict = verdict};
}
Step Done() { return {.kind = Step::Kind::kDone}; }

struct Script {
  const char* behaviour;
  std::vector<Step> steps;
};

const AnswerFileStamp kA = File("PC01.ans");
const AnswerFileStamp kB = File("PC02.ans");
const AnswerFileStamp kC = File("PC03.ans");
const AnswerFileStamp kD = File("PC04.ans");
const AnswerFileStamp kAGrown = File("PC01.ans", 52);
const AnswerFileStamp kATouched = File("PC01.ans", 40, kLongAgo + 1);
const AnswerFileStamp kAFresh = File("PC01.ans", 40, kJustNow);

const Script kScripts[] = {
    // ---- arriving and changing ----
    {"an arrival tallies once the folder is quiet, and only once",
     {Change("PC01.ans", true), Quiet({kA}, true), Done(), Quiet({kA}, false)}},
    {"the files there when live results begin count as arrived",
     {Quiet({kA, kB}, true)}},
    {"an empty folder at the beginning tallies nothing", {Quiet({}, false)}},
    {"every change within the quiet time starts it again",
     {Change("PC01.ans", true), Change("PC01.ans", true),
      Change("PC02.ans", true), Quiet({kA, kB}, true)}},
    {"a file that grew or was touched tallies again",
     {Quiet({kA}, true), Done(), Quiet({kAGrown}, true), Done(),
      Quiet({kATouched}, true)}},
    {"a change that altered nothing tallies nothing",
     {Quiet({kA}, true), Done(), Change("PC01.ans", true), Quiet({kA}, false)}},
    // ---- removals ----
    {"a removal alone never tallies",
     {Quiet({kA, kB}, true), Done(), Change("PC02.ans", true),
      Quiet({kA}, false), Quiet({}, false)}},
    {"an arrival after a removal tallies",
     {Quiet({kA, kB}, true), Done(), Quiet({kA}, false),
      Quiet({kA, kC}, true)}},
    // ---- the program's own files ----
    {"the results file, its temporary and the questionnaire never start it",
     {Change("\x8f\x57\x8c\x76\x8c\x8b\x89\xca.csv", false),
      Change(".\x8f\x57\x8c\x76\x8c\x8b\x89\xca.csv.7.0.0.tmp", false),
      Change("data.txt", false), Change(".PC01.ans", false)}},
    {"a change of unknown file, or an answer file in capitals, starts it",
     {Change("", true), Change("PC09.ANS", true)}},
    // ---- a file still being written ----
    {"a held file is tried again, then shown once as lasting",
     {Quiet({kA}, true), Fail(Stage::kReading, 32, {kA}, Verdict::kTryAgain),
      Quiet({kA}, true), Fail(Stage::kReading, 32, {kA}, Verdict::kTryAgain),
      Quiet({kA}, true), Fail(Stage::kReading, 32, {kA}, Verdict::kTryAgain),
      Quiet({kA}, true), Fail(Stage::kReading, 32, {kA}, Verdict::kShow),
      Quiet({kA}, false)}},
    {"a writer at work between tries keeps the failure quiet",
     {Quiet({kA}, true), Fail(Stage::kReading, 32, {kA}, Verdict::kTryAgain),
      Quiet({kA}, true), Fail(Stage::kReading, 32, {kA}, Verdict::kTryAgain),
      Quiet({kA}, true), Fail(Stage::kReading, 32, {kA}, Verdict::kTryAgain),
      Change("PC01.ans", true), Quiet({kA}, true),
      Fail(Stage::kReading, 32, {kA}, Verdict::kTryAgain)}},
    {"a file changed a moment ago is not reported until it has settled",
     {Quiet({kAFresh}, true),
      Fail(Stage::kReading, 0, {kAFresh}, Verdict::kTryAgain),
      Quiet({kAFresh}, true, kNow + 30'000'000),
      Fail(Stage::kReading, 0, {kAFresh}, Verdict::kShow, kNow + 30'000'000)}},
    {"a try again is dropped when an answer file disappeared",
     {Quiet({kA, kB}, true),
      Fail(Stage::kReading, 32, {kA, kB}, Verdict::kTryAgain),
      Quiet({kA}, false)}},
    // ---- lasting failures ----
    {"a lasting failure is shown again only when the answer files change",
     {Quiet({kA}, true), Fail(Stage::kReading, 0, {kA}, Verdict::kShow),
      Change("PC01.ans", true), Quiet({kA}, false), Quiet({kA, kB}, true),
      Fail(Stage::kReading, 0, {kA, kB}, Verdict::kShow)}},
    {"the same files failing for another reason are shown",
     {Quiet({kA}, true),
      Fail(Stage::kReading, 0, {kA}, Verdict::kShow, kNow, "one"),
      Fail(Stage::kReading, 0, {kA}, Verdict::kShow, kNow, "other"),
      Fail(Stage::kReading, 0, {kA}, Verdict::kKeepQuiet, kNow, "other")}},
    {"a held results file is shown once while answers go on arriving",
     {Quiet({kA}, true), Fail(Stage::kWriting, 32, {kA}, Verdict::kShow),
      Quiet({kA, kB}, true),
      Fail(Stage::kWriting, 32, {kA, kB}, Verdict::kKeepQuiet),
      Quiet({kA, kB, kC}, true), Done(), Quiet({kA, kB, kC, kD}, true),
      Fail(Stage::kWriting, 32, {kA, kB, kC, kD}, Verdict::kShow)}},
    {"a results file failing is never tried again by itself",
     {Quiet({kA}, true), Fail(Stage::kWriting, 5, {kA}, Verdict::kShow),
      Quiet({kA}, false)}},
};

class LiveTallyScript : public ::testing::TestWithParam<Script> {};

TEST_P(LiveTallyScript, DecidesAsEachStepSays) {
  LiveTally live;
  live.Begin();
  SCOPED_TRACE(GetParam().behaviour);
  const std::vector<Step>& steps = GetParam().steps;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    SCOPED_TRACE("step " + std::to_string(i + 1));
    const AnswerFolder folder{step.files, step.now};
    switch (step.kind) {
      case Step::Kind::kChange:
        EXPECT_EQ(live.FolderChanged(step.name), step.yes);
        break;
      case Step::Kind::kQuiet:
        EXPECT_EQ(live.QuietTimeOver(folder), step.yes);
        break;
      case Step::Kind::kFail:
        EXPECT_EQ(live.TallyFailed(step.failure, folder), step.verdict);
        break;
      case Step::Kind::kDone:
        live.TallyDone();
        break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, LiveTallyScript,
                         ::testing::ValuesIn(kScripts),
                         [](const ::testing::TestParamInfo<Script>& info) {
                           return "script" + std::to_string(info.index);
                         });

TEST(LiveTally, BeginningAgainForgetsWhatWasSeenAndShown) {
  LiveTally live;
  live.Begin();
  ASSERT_TRUE(live.QuietTimeOver({{kA}, kNow}));
  ASSERT_EQ(live.TallyFailed({Stage::kWriting, 32, "m"}, {{kA}, kNow}),
            Verdict::kShow);
  live.Begin();
  EXPECT_TRUE(live.QuietTimeOver({{kA}, kNow}));
  EXPECT_EQ(live.TallyFailed({Stage::kWriting, 32, "m"}, {{kA}, kNow}),
            Verdict::kShow);
}

}  // namespace
}  // namespace tabulon::window
