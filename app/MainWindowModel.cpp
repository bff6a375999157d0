#include "app/MainWindowModel.h"

MainWindowModel::MainWindowModel() : m_list(true) {}

MainWindowModel::~MainWindowModel() = default;

void MainWindowModel::setTotalCount(int32_t count)
{
    m_totalText.setNumber(count);
}

void MainWindowModel::setNoSpeakerCount(int32_t count)
{
    m_noSpeakerText.setNumber(count);
}
