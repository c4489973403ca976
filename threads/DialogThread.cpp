// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "threads/DialogThread.h"

#include "threads/OwnerWindow.h"

#include <memory>

DialogThread::DialogThread()
{
    ResetControls();
}

DialogThread::~DialogThread()
{
    StopAndJoin();
    enabledWhileRunning.DeleteAll();
    enabledWhileStopped.DeleteAll();
}

void DialogThread::ResetControls()
{
    enabledWhileRunning.DeleteAll();
    enabledWhileStopped.DeleteAll();
}

void DialogThread::AddEnabledWhileRunning(int controlId)
{
    enabledWhileRunning.Add(std::make_shared<int>(controlId));
}

void DialogThread::AddEnabledWhileStopped(int controlId)
{
    enabledWhileStopped.Add(std::make_shared<int>(controlId));
}

void DialogThread::RefreshControls()
{
    const bool isRunning = IsRunning();
    EnableListed(enabledWhileRunning, isRunning);
    EnableListed(enabledWhileStopped, !isRunning);
}

void DialogThread::EnableListed(const LockedList<int>& controls, bool enable)
{
    for (int i = 0; i < controls.GetCount(); ++i) {
        const std::shared_ptr<int> controlId = controls.GetAt(i);
        if (!controlId)
            continue;
        if (OwnerWindow* window = GetOwner())
            window->EnableControl(*controlId, enable);
    }
}
