#pragma once

#include "Core/Base/Singletone.h"
#include "Core/File/UserDataFileContainerWin32.h"

namespace file
{
class UserDataFileContainer : public UserDataFileContainerWin32, public base::Singletone<UserDataFileContainer>
{
};
}
