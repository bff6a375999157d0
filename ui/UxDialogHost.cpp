#include "ui/UxDialogHost.h"

UxDialogHost::~UxDialogHost() = default;
