#pragma once
// The person at the desk of the Windows test program (message_box_test.cpp): answers every message box
// with OK at once and confirms the report dialog with OK as it stands, as the POSIX layer does without
// a terminal, so that tests written against that behaviour run unchanged under Windows.

#include <atomic>

namespace vivo::test {

// While true the report dialog is left to the running test, which acts on it itself.
inline std::atomic<bool> reportDialogDrivenByTest{false};

}  // namespace vivo::test
