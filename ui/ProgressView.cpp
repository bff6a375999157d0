#include "ui/ProgressView.h"

ProgressView::~ProgressView() = default;

void ProgressView::pumpWaiting(UxProgressDialog&) {}
