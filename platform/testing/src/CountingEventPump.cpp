#include "platform/testing/CountingEventPump.h"

namespace tess::testing {

void CountingEventPump::doEvents() {
    ++doEventsCount_;
    if (onDoEvents_)
        onDoEvents_();
}

void CountingEventPump::yieldCheck() {
    ++yieldCount_;
    if (onYield_)
        onYield_();
}

}  // namespace tess::testing
