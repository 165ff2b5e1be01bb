#pragma once

#include <Qt>

#include <memory>
#include <vector>

// One key going down or up.
struct SyntheticKey {
    Qt::Key Key;
    bool Pressed;
};

// Types keys as if on the keyboard: they reach whichever window has the input focus.
class KeySynthesizer {
public:
    virtual ~KeySynthesizer() = default;
    // Sends the events in order; false when the desktop refuses them (then none is sent).
    virtual bool sendKeys(const std::vector<SyntheticKey>& Keys) = 0;
};

// The desktop's key synthesis (X11: the XTest extension; refused elsewhere).
std::unique_ptr<KeySynthesizer> createSystemKeySynthesizer();
