// Every service the interpreter asks for, made up in memory: the files the script is read
// from, prompts that record what they show, a fixed-width text measure and the machine the IF
// tests look at.
#pragma once

#include "fakes/fake_machine.h"
#include "fakes/fixed_width_measure.h"
#include "fakes/recording_prompts.h"
#include "fakes/writable_memory_file_system.h"
#include "files/packed_file.h"
#include "script/interpreter.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace kestrel::test {

struct FakeInterpreterMachine {
    explicit FakeInterpreterMachine(int pixelsPerCharacter = 8) : measure(pixelsPerCharacter, 8) {}
    FakeInterpreterMachine(const FakeInterpreterMachine&) = delete;
    FakeInterpreterMachine& operator=(const FakeInterpreterMachine&) = delete;

    // The services over these fakes; the machine must outlive them.
    script::InterpreterServices interpreterServices(std::string workingDirectory) {
        return {
            .prompts = prompts,
            .measure = measure,
            .scriptFiles = layer,
            .system = system,
            .drives = drives,
            .directories = directories,
            .registry = registry,
            .versions = versions,
            .files = files,
            .announceDriveSearch = {},
            .workingDirectory = std::move(workingDirectory),
        };
    }

    RecordingPrompts prompts;
    FixedWidthMeasure measure;
    WritableMemoryFileSystem files;
    files::PackedFileLayer layer{files};
    FakeSystemInfo system;
    FakeDrives drives;
    FakeDirectoryTree directories;
    FakeRegistry registry;
    FakeFileVersions versions;
};

} // namespace kestrel::test
