#pragma once
#include "platform/state_visitor.h"

// Every module's process-wide state at once.

// Puts every room's process-wide state back to its start-up values, the hooks the replays and
// tools install and a quit signal already caught among it, so that each test (and each run of
// the program) begins from the same known state.
void resetEveryRoom();
// Hands every module's process-wide state to the visitor, module by module in a fixed order:
// what a replay's snapshot holds and its digests compare.
void visitGameState(StateVisitor& v);
