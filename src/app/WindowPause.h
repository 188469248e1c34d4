#pragma once
// A pause on the window thread that keeps the window alive: it repaints, runs timers and
// takes posted work, while the user's keys and clicks wait in the queue and are handled, in
// their order, once the pause is over (as they would be after a blocking wait).

#include <chrono>

void PauseRepainting(std::chrono::milliseconds span);
