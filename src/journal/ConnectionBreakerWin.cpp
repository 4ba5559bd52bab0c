#include "ConnectionBreaker.h"

#include <winsock2.h>

namespace barlink::journal {

void ConnectionBreaker::shutDown(int socket)
{
    // libpq gives a Windows socket as an int.
    ::shutdown(SOCKET(socket), SD_BOTH);
}

} // namespace barlink::journal
