#include "ui/UxListViewListener.h"

UxListViewListener::~UxListViewListener() = default;
