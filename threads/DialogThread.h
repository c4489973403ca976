// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "threads/LockedList.h"
#include "threads/WorkerThread.h"

// A worker bound to a dialog: it keeps the ids of the owner's controls that are enabled only
// while it runs, or only while it does not, and brings them in line on RefreshControls.
class DialogThread : public WorkerThread {
public:
    DialogThread();
    ~DialogThread() override;

    void Run() override {}
    // Called on the window's thread; needs an owner as soon as a list holds an id.
    virtual void RefreshControls();

    void ResetControls();
    void AddEnabledWhileRunning(int controlId);
    void AddEnabledWhileStopped(int controlId);

protected:
    LockedList<int> enabledWhileRunning;
    LockedList<int> enabledWhileStopped;

private:
    void EnableListed(const LockedList<int>& controls, bool enable);
};
