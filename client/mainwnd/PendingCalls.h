#pragma once

// Operations of the client whose work is not built yet record every call here, so the
// main window's dispatch (which event leads to which operation) can be observed before
// the operations show anything. Each entry goes away when its operation does real,
// visible work.

enum class PendingOp { OpenSettings, OpenSkinDialog, ShowAbout, StartUpdater, Count };

#include <vector>

void NotePendingCall(PendingOp op);
// How often `op` was called, and every call in order, since the last reset.
int PendingCallCount(PendingOp op);
std::vector<PendingOp> PendingCallLog();
void ResetPendingCalls();
