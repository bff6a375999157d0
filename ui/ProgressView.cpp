#include "ui/ProgressView.h"

ProgressView::~ProgressView() = default;
