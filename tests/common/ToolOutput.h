#pragma once

// The machine's own tools as oracles for the native tests: Samba's parser of
// policy files, xmllint, Python.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace quenmar::testing {

// What a command of this machine prints (its errors too, every byte) about
// a file holding these bytes, named last on its line.
inline std::string OutputAbout(const std::string& file, const std::string& command) {
    // A name of this process's own: the tests run side by side.
    const std::string path = ::testing::TempDir() + "quenmar-tool-" + std::to_string(getpid());
    FILE* out = fopen(path.c_str(), "wb");
    if (!out) return "cannot write " + path;
    fwrite(file.data(), 1, file.size(), out);
    fclose(out);
    std::string read;
    if (FILE* pipe = popen((command + " " + path + " 2>&1").c_str(), "r")) {
        char buffer[512];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) read.append(buffer, n);
        pclose(pipe);
    }
    remove(path.c_str());
    return read;
}

// The entries of a Registry.pol as Samba's own parser reads them (Debian's
// python3-samba), one line each: key|value|type|data.
inline std::string SambaReads(const std::string& file) {
    return OutputAbout(file,
                       "/usr/bin/python3 -c \"import sys\nfrom samba.dcerpc import preg\nfrom samba.ndr import ndr_unpack\n"
                       "f = ndr_unpack(preg.file, open(sys.argv[1], 'rb').read())\n"
                       "print(f.header.signature, f.header.version)\n"
                       "for e in f.entries: print(e.keyname + '|' + e.valuename + '|' + str(e.type) + '|' + str(e.data))\"");
}

}  // namespace quenmar::testing
