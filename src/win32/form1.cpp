#include "win32/form1.h"

#include "window_logic/preview_thread.h"

namespace bosquell::win32 {

Form1::Form1(HINSTANCE instance, MessagePresenter presenter, std::unique_ptr<RandomSource> random,
             PreviewSeeds mapSeeds)
    : window_(instance, std::move(presenter)),
      mapWindow_(instance, window_.Handle()),
      random_(random ? std::move(random) : std::make_unique<MersenneRandom>()),
      logic_(window_, drives_, *random_),
      map_(window_, mapWindow_, std::move(mapSeeds), MissionFileReaders(),
           mapWindow_.DocumentPrompts()) {
  window_.Connect(&logic_);
  window_.ConnectMap(&map_, &mapWindow_);
  mapWindow_.Connect(&map_);
  logic_.SetMap(&map_);
  logic_.Load();
}

void Form1::DrawPreviewsOnAThread() {
  previewMailbox_ = std::make_unique<PreviewMailbox>(GetModuleHandleW(nullptr),
                                                     [this] { map_.PreviewFinished(); });
  PreviewMailbox* mailbox = previewMailbox_.get();
  map_.UsePreviewExecutor(std::make_unique<PreviewThread>([mailbox] { mailbox->Post(); }));
}

}  // namespace bosquell::win32
