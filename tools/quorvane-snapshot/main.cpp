// quorvane-snapshot: the viewer's picture off-screen as a PNG file.
#include "snapshot.h"
#include "snapshot_request.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace quorvane::snapshot;
    std::string error;
    const auto request = ParseArguments(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!request) {
        std::cerr << "quorvane-snapshot: " << error << "\n" << Usage();
        return badArguments;
    }
    if (request->help) {
        std::cout << Usage();
        return succeeded;
    }
    return MakeSnapshot(*request, std::cerr);
}
