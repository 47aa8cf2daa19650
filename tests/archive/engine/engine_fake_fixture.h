#pragma once

// The engine against the scripted fake RAR library: a component bound to the
// fake, extracting from the sandbox's archive into its "out" folder.
#include "archive/engine/rar_library.h"
#include "archive/engine/unrar.h"
#include "tests/support/engine_sandbox.h"
#include "tests/support/fake_rar.h"
#include "tests/support/unrar_events.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class UnrarFake : public ::testing::Test {
protected:
    UnrarFake()
    {
        BindRarLibrary({fake.path()});
        fake.reset();
        rar.SetExtractDir(box.out());
        rar.SetArchiveFile(box.archive());
    }
    ~UnrarFake() override { ReleaseRarLibrary(); }

    // The recorded library calls with the sandbox folder written as "~".
    std::vector<std::string> calls() const
    {
        std::vector<std::string> lines = fake.calls();
        for (std::string& line : lines) {
            for (size_t at; (at = line.find(box.root())) != std::string::npos;)
                line.replace(at, box.root().size(), "~");
        }
        return lines;
    }

    std::string openCall() const { return "open \"~/test.rar\" mode 1 comment 16384"; }

    EngineSandbox box;
    FakeRar fake;
    TUnRAR rar{nullptr};
    UnrarEvents events{rar, box.root()};
};
