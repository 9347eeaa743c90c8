#pragma once
// Start-up helpers run beside the main thread, not on its processor. A thread just made is often
// queued on the processor of the thread that made it and moved away only after a few
// milliseconds; at start-up that makes the helper and the main thread share one processor for
// most of the work the helper was made to take off it.
#include <thread>

// Lets thread run on every processor it may use except the one the calling thread runs on now;
// threads it makes keep that. Does nothing where it has a single processor or the system refuses.
void KeepOffCallingProcessor(std::thread& thread);
