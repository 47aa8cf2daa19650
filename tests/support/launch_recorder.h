#pragma once

#include "app/program_launcher.h"

#include <vector>

// Stands in for the program launcher while it lives: records every start
// request and answers it with the given outcome.
class LaunchRecorder final : public ProgramLauncher {
public:
    explicit LaunchRecorder(bool starts) : starts_(starts) { setProgramLauncher(this); }
    ~LaunchRecorder() override { setProgramLauncher(nullptr); }
    LaunchRecorder(const LaunchRecorder&) = delete;
    LaunchRecorder& operator=(const LaunchRecorder&) = delete;

    bool start(const LaunchRequest& request) override
    {
        started.push_back(request);
        return starts_;
    }

    std::vector<LaunchRequest> started;

private:
    bool starts_;
};
