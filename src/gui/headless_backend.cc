#include "gui/headless_backend.h"

#include "gui/realisation.h"
#include "platform/codepage.h"

namespace tabulon::gui {

Extent HeadlessBackend::Measure(const Font& font, std::string_view cp932) {
  const int single = (font.pixel_size + 1) / 2;
  int width = 0;
  for (std::size_t i = 0, length = 0; i < cp932.size(); i += length) {
    length = platform::CharacterLength(cp932, i);
    width += static_cast<int>(length) * single;
  }
  return {width, font.pixel_size};
}

void HeadlessBackend::ShowStop(std::string_view caption,
                               std::string_view message) {
  stops_.push_back({std::string(caption), std::string(message)});
  if (on_stop) on_stop(stops_.back());
}

bool HeadlessBackend::Confirm(const Confirmation& box) {
  confirmations_.push_back(box);
  if (on_confirm) on_confirm(box);
  if (answers_.empty()) return false;
  const bool yes = answers_.front();
  answers_.pop_front();
  return yes;
}

void HeadlessBackend::SetBusy(bool busy) { busy_calls_.push_back(busy); }

void HeadlessBackend::Realise(Form& form) {
  realised_ = true;
  Sync(form);
}

void HeadlessBackend::Sync(Form& form) {
  ++sync_count_;
  TakeChanges(form, [](Control&) {});
}

int HeadlessBackend::Run(Form& form, ShowState state) {
  Sync(form);
  shown_as_ = state;
  return 0;
}

}  // namespace tabulon::gui
