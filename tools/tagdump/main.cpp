#include "tools/tagdump/TagDump.h"

#include <iostream>

int main(int argc, char** argv)
{
    return RunTagDump(argc, argv, std::cout, std::cerr);
}
