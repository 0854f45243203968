/* Preloaded by the lookup stop test only: a name lookup of "stall.invalid"
   takes STALL_SECONDS and then fails; every other lookup is the real one. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <netdb.h>
#include <string.h>
#include <unistd.h>

#ifndef STALL_SECONDS
#define STALL_SECONDS 8
#endif

int getaddrinfo(const char* node, const char* service, const struct addrinfo* hints,
                struct addrinfo** result) {
    if (node != NULL && strcmp(node, "stall.invalid") == 0) {
        sleep(STALL_SECONDS);
        return EAI_NONAME;
    }
    int (*real)(const char*, const char*, const struct addrinfo*, struct addrinfo**) =
        (int (*)(const char*, const char*, const struct addrinfo*, struct addrinfo**))dlsym(
            RTLD_NEXT, "getaddrinfo");
    return real(node, service, hints, result);
}
