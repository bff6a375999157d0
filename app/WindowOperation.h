#pragma once

#include "fc/CannotOpenException.h"
#include "fc/CannotReadException.h"
#include "fc/CannotWriteException.h"
#include "fc/Diagnostic.h"

#include <utility>

// How a command or a dialog's operation ends when the foundation raises:
// nothing may raise through the window's event loop.
namespace WindowOperation {

// Runs an operation to its end (true), or abandons it (false) when it
// raises: the file layer has told the user before it raised, any other
// diagnostic is shown here.
template <typename Operation> bool completed(Operation&& operation)
{
    try {
        std::forward<Operation>(operation)();
        return true;
    } catch (const CannotOpenException&) {
    } catch (const CannotReadException&) {
    } catch (const CannotWriteException&) {
    } catch (const Diagnostic& failure) {
        failure.show();
    }
    return false;
}

} // namespace WindowOperation
