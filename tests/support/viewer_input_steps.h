// The input a person, the window manager and the system give the viewer, as steps read from
// bytes: mouse buttons, moves and wheel turns anywhere (also outside the window), double-clicks,
// keys, resizes from nothing to the largest back buffer, minimising and restoring, full-screen
// requests and screen-mode choices, desktop and adapter changes, device loss and failing resets.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace quorvane::tests::viewer_input {

// The bytes a sequence is read from; past their end every read gives zero.
class InputBytes {
public:
    InputBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return position_ >= size_; }
    std::uint8_t Byte() { return Empty() ? 0 : data_[position_++]; }
    std::int16_t Short()
    {
        const unsigned low = Byte();
        return static_cast<std::int16_t>(low | (unsigned(Byte()) << 8));
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// Reads one step and gives it: input goes to `target` (the main window, or the dialog whose
// loop runs), what the window manager and the system do goes to `mainWindow`. The events arrive
// when the thread next takes messages.
void ApplyStep(InputBytes& bytes, HWND mainWindow, HWND target);

// A key pressed and let go, with Alt (and Shift) held around it if asked.
void PressKey(HWND window, UINT virtualKey, wchar_t character, bool alt = false, bool shift = false);

}  // namespace quorvane::tests::viewer_input
