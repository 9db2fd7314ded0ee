#include "display/shared/gl_profile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quorvane::display::shared {

namespace {

std::string& Problem()
{
    static std::string problem;
    return problem;
}

}  // namespace

std::vector<GLProfile> ProfilesToTry(const char* forced)
{
    if (forced && std::strcmp(forced, "gl33") == 0)
        return {GLProfile::desktop33};
    if (forced && std::strcmp(forced, "es3") == 0)
        return {GLProfile::es3};
    return {GLProfile::desktop33, GLProfile::es3};
}

std::vector<GLProfile> ProfilesToTry()
{
    return ProfilesToTry(std::getenv("QUORVANE_GL"));
}

const char* ProfileName(GLProfile profile)
{
    return profile == GLProfile::es3 ? "OpenGL ES 3.0" : "OpenGL 3.3 core";
}

std::string DescribeMissingGL(const std::vector<GLProfile>& tried, const std::string& found)
{
    std::string needed;
    for (GLProfile profile : tried)
        needed += (needed.empty() ? "" : " or ") + std::string(ProfileName(profile));
    return "no OpenGL context: the viewer needs " + needed + ", and this machine offers " +
           (found.empty() ? std::string("no OpenGL at all") : found);
}

void ReportMissingGL(const std::string& problem)
{
    if (!Problem().empty())
        return;
    Problem() = problem;
    std::fprintf(stderr, "quorvane: %s\n", problem.c_str());
}

const std::string& MissingGL()
{
    return Problem();
}

}  // namespace quorvane::display::shared
