// The loopback server for the command-line tests: prints its port, then
// answers until it is stopped. "/ok" and "/new" answer 200, "/old" moves
// to "/new" for good, "/error" is a server error, every other path 404.

#include <csignal>
#include <iostream>

#include "support/LoopbackHttpServer.h"

int main()
{
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    // Blocked in every thread, so the main thread can wait for them.
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);
    tessaly::test::LoopbackHttpServer server;
    server.Answer("/ok", {});
    server.Answer("/new", {});
    server.Answer("/old", {301, "/new"});
    server.Answer("/error", {500, {}});
    std::cout << server.Port() << std::endl;
    int received = 0;
    sigwait(&stop, &received);
    return 0;
}
