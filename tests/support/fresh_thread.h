// Running test code on a new thread, whose random state starts at 1.
#pragma once

#include <thread>
#include <utility>

template <typename Body> void OnFreshThread(Body&& body) {
    std::thread worker(std::forward<Body>(body));
    worker.join();
}
