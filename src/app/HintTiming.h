#pragma once

// Makes hints appear as soon as the mouse rests on a control and stay while it
// rests there; a hint the mouse runs into shows again beside the mouse.
void useImmediateHints();
