#pragma once
#include "platform/stopwatch.h"
#include <cstddef>
#include <type_traits>

// The longest session of the game its counts are reckoned for: 2^28 frames, over 59 days at
// 19 ms a frame, past the 49 days after which SDL's millisecond clock wraps. A count that grows
// frame by frame (the score, a held steering key's sideways speed) is bounded by what such a
// session can reach, which leaves room for a replay's 2^20 frames on top without overflowing.
constexpr int SESSION_FRAMES = 1 << 28;

// The part of the game a field belongs to. A replay compares a digest of each group frame by
// frame (the screen and the sound requests are groups of their own); fields of no group
// travel only in the snapshot a replay starts from.
enum StateGroup {
    GROUP_STATE,
    GROUP_SCORE,
    GROUP_TIME,
    GROUP_CARS,
    GROUP_SCROLL,
    GROUP_MARKERS,
    GROUP_CHECKPOINTS,
    GROUP_SCREEN,
    GROUP_SOUND,
    DIGEST_GROUPS,
    GROUP_NONE = DIGEST_GROUPS
};

// Every module that keeps process-wide state has, beside the routine that resets it, one
// that hands each of its fields to a visitor in a fixed order: to save them, to restore them
// or to hash them. A field added to a module is added there, and nowhere else.
// What a field's bytes are: a number the game bounds, a flag (0 or 1), or a reading of the
// millisecond clock, which may hold any value (the clock wraps after 49 days).
enum FieldKind { FIELD_NUMBER, FIELD_FLAG, FIELD_READING };

class StateVisitor
{
  public:
    virtual ~StateVisitor() = default;
    // True while the fields are being written back (a snapshot restored).
    virtual bool restoring() const { return false; }

    template <typename T> void operator()(StateGroup group, T& value)
    {
        static_assert(std::is_arithmetic_v<T>, "a field is a plain number or flag");
        field(group, &value, sizeof value, std::is_same_v<T, bool> ? FIELD_FLAG : FIELD_NUMBER);
    }
    // A table of numbers or flags goes as one block.
    template <typename T, size_t N> void operator()(StateGroup group, T (&values)[N])
    {
        static_assert(std::is_arithmetic_v<T>, "a field is a plain number or flag");
        field(group, values, sizeof values, std::is_same_v<T, bool> ? FIELD_FLAG : FIELD_NUMBER);
    }
    // Restoring: a value read back must be one the game itself can produce (a replay is
    // untrusted input); `what` names it when it is not.
    void require(bool produced, const char* what)
    {
        if (restoring() && !produced)
            refuse(what);
    }
    void operator()(StateGroup group, Stopwatch& w)
    {
        field(group, &w.startTicks, sizeof w.startTicks, FIELD_READING);
        (*this)(group, w.pausedTicks);
        (*this)(group, w.paused), (*this)(group, w.started);
        // A paused watch holds what it had counted: a run paused after twelve days of play is
        // beyond any the game records (a replay holds hours at the most).
        require(w.pausedTicks <= 1u << 30, "a stopwatch");
    }

  protected:
    // One field's bytes as they lie in memory; a flag is kept 0 or 1 on restoring.
    virtual void field(StateGroup group, void* data, size_t size, FieldKind kind) = 0;
    virtual void refuse(const char*) {}
};
