#pragma once

#include "KeySynthesizer.h"

struct xcb_connection_t;

// Key events through the XTest extension of the X server.
class X11KeySynthesizer : public KeySynthesizer {
public:
    X11KeySynthesizer();
    bool sendKeys(const std::vector<SyntheticKey>& Keys) override;

private:
    xcb_connection_t* FConnection = nullptr;
};
