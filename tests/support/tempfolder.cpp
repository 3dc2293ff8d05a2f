#include "tempfolder.h"

void TempFolderTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid()) << "cannot create a temporary folder";
}
