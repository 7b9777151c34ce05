#include "shell/key_state.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <array>

namespace quoinry::shell {
namespace {

struct KeyState {
    bool down = false;
    bool pressed_since_query = false;
};

// Index 0: Escape, 1: right mouse button.
std::array<KeyState, 2> key_states;

KeyState* StateOf(int virtual_key) {
    switch (virtual_key) {
        case kVirtualKeyEscape:
            return &key_states[0];
        case kVirtualKeyRightButton:
            return &key_states[1];
        default:
            return nullptr;
    }
}

void Record(int virtual_key, bool down) {
    KeyState* state = StateOf(virtual_key);
    state->down = down;
    if (down)
        state->pressed_since_query = true;
}

}  // namespace

bool IsKeyDown(int virtual_key) {
    KeyState* state = StateOf(virtual_key);
    if (state == nullptr)
        return false;
    const bool result = state->down || state->pressed_since_query;
    state->pressed_since_query = false;
    return result;
}

bool KeyStateWatcher::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && !key->isAutoRepeat())
                Record(kVirtualKeyEscape, event->type() == QEvent::KeyPress);
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton)
                Record(kVirtualKeyRightButton, event->type() == QEvent::MouseButtonPress);
            break;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace quoinry::shell
