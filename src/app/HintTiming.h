#pragma once

// Makes hints appear as soon as the mouse rests on a control and stay while it rests there.
void useImmediateHints();
