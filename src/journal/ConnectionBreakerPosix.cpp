#include "ConnectionBreaker.h"

#include <sys/socket.h>

namespace barlink::journal {

void ConnectionBreaker::shutDown(int socket)
{
    ::shutdown(socket, SHUT_RDWR);
}

} // namespace barlink::journal
