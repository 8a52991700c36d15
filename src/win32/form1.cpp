#include "win32/form1.h"

namespace bosquell::win32 {

Form1::Form1(HINSTANCE instance, MessagePresenter presenter, std::unique_ptr<RandomSource> random)
    : window_(instance, std::move(presenter)),
      random_(random ? std::move(random) : std::make_unique<MersenneRandom>()),
      logic_(window_, drives_, *random_) {
  window_.Connect(&logic_);
  logic_.Load();
}

}  // namespace bosquell::win32
