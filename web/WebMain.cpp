// The browser edition's core: the page's script starts it and calls into it.

#include "coach/Coach.h"
#include "web/WebBridge.h"

int main() {
    static quintaro::Coach coach;
    quintaro::setWebCoach(&coach);
    return 0;
}
