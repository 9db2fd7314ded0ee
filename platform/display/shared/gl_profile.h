// Which OpenGL a display's contexts speak. The displays try OpenGL 3.3 core first and OpenGL ES
// 3.0 when the machine cannot make it; QUORVANE_GL=gl33 or QUORVANE_GL=es3 forces one. When
// neither can be had the display says so once on standard error, and the text stays readable for
// a tool that reports why it could not start.
#pragma once

#include <string>
#include <vector>

namespace quorvane::display::shared {

enum class GLProfile {
    desktop33,
    es3
};

// The profiles to try, best first, for the value of QUORVANE_GL (null or empty: both). An
// unknown value tries both as well.
std::vector<GLProfile> ProfilesToTry(const char* forced);
// The same for this process's environment.
std::vector<GLProfile> ProfilesToTry();

const char* ProfileName(GLProfile profile);

// What the display needed and found, when it could make no context ("" until then). `found`
// names the GL the machine offers (its version string), or is empty when not even that was there.
std::string DescribeMissingGL(const std::vector<GLProfile>& tried, const std::string& found);
void ReportMissingGL(const std::string& problem);
const std::string& MissingGL();

}  // namespace quorvane::display::shared
