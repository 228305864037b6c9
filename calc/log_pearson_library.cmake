#The log - Pearson binding.The library itself is not linked : it is loaded at run time
#from the program's folder.
target_sources(vd_calc PRIVATE ${CMAKE_CURRENT_LIST_DIR} /
               log_pearson_library.cpp ${CMAKE_CURRENT_LIST_DIR} / library_loading.cpp)
    target_link_libraries(vd_calc PRIVATE ${CMAKE_DL_LIBS})
#The fit it hands out is the library 's own type, from the library' s public header.
        target_link_libraries(vd_calc PUBLIC lpiii_headers)
