#pragma once

#include <QCoreApplication>
#include <memory>

// The toolkit started without a screen (the offscreen platform unless
// another is asked for), for programs that drive the windows without
// showing them: the benchmarks of the window's folder load.
namespace OffscreenApplication {

std::unique_ptr<QCoreApplication> start(int& argc, char** argv);

} // namespace OffscreenApplication
