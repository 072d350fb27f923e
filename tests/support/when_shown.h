#pragma once
// Window tests: acting as the user on a modal window, which runs its own
// event loop until it closes.
#include <gtest/gtest.h>

#include <QTimer>
#include <functional>
#include <string>
#include <string_view>

#include "platform/qt/qt_ui.h"

namespace kv::test {

// Runs `act` on the window `name` of the seam once the modal window that
// is about to be shown is up.
template <class W>
void WhenShown(QtUi& qt, std::string_view name, std::function<void(W&)> act) {
  QTimer::singleShot(0, [&qt, window = std::string(name), act] {
    auto* w = dynamic_cast<W*>(qt.LoadedWindow(window));
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->isVisible());
    act(*w);
  });
}

}  // namespace kv::test
