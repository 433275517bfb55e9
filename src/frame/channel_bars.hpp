// One input of a kernel's bars seen as the only input of a stage: a stage
// written over bars(0, i) reads bars(channel, i) of the kernel that holds it.
#pragma once

#include "frame/contract.hpp"

namespace movlex {

template <class Bars>
struct ChannelBars {
    const Bars& bars;
    int channel;
    double operator()(int, Index i) const { return bars(channel, i); }
};

template <class Bars>
ChannelBars<Bars> channel_of(const Bars& bars, int channel) {
    return {bars, channel};
}

}  // namespace movlex
