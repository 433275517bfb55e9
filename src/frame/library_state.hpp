// The one piece of process-wide state: the initialisation marker and the
// table of unstable periods that the recursive indicators add to their
// lookback. Indicators only read it; MOVLEX_INIT and MOVLEX_SHUTDOWN write it.
#pragma once

#include <array>
#include <cstdint>

namespace movlex {

enum UnstableSlot : int {
    UNSTABLE_ADX = 0,
    UNSTABLE_ATR = 2,
    UNSTABLE_CMO = 3,
    UNSTABLE_DX = 4,
    UNSTABLE_EMA = 5,
    UNSTABLE_KAMA = 12,
    UNSTABLE_MAMA = 13,
    UNSTABLE_MFI = 14,
    UNSTABLE_MINUS_DI = 15,
    UNSTABLE_MINUS_DM = 16,
    UNSTABLE_NATR = 17,
    UNSTABLE_PLUS_DI = 18,
    UNSTABLE_PLUS_DM = 19,
    UNSTABLE_RSI = 20,
    UNSTABLE_T3 = 22,
};

inline constexpr int UNSTABLE_SLOT_COUNT = 23;
inline constexpr std::uint32_t STATE_MAGIC = 0xA203B203u;
inline constexpr std::int32_t INITIALISED_UNSTABLE_PERIOD = 150;

struct LibraryState {
    std::uint32_t magic;
    std::uint32_t reserved;
    std::int32_t unstable_periods[UNSTABLE_SLOT_COUNT];
};

// The single record, zero-filled at load.
extern LibraryState* const library_state;

// Marks the state initialised and sets every unstable period to
// INITIALISED_UNSTABLE_PERIOD.
void initialise_library_state();

// Zero-fills an initialised state; false (and nothing changed) when the state
// was not initialised.
bool clear_library_state();

// Unstable period of a slot, read afresh on every call.
inline std::int32_t unstable_period(UnstableSlot slot) { return library_state->unstable_periods[slot]; }

// The unstable periods of every slot at one moment: a stream keeps those in
// force when it was made.
struct UnstablePeriods {
    std::array<std::int32_t, UNSTABLE_SLOT_COUNT> periods{};
    std::int32_t operator[](UnstableSlot slot) const { return periods[slot]; }
};

inline UnstablePeriods current_unstable_periods() {
    UnstablePeriods snapshot;
    for (int slot = 0; slot < UNSTABLE_SLOT_COUNT; ++slot) snapshot.periods[slot] = library_state->unstable_periods[slot];
    return snapshot;
}

}  // namespace movlex
