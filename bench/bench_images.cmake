# The reference decoder of bench_images: libjpeg-turbo itself.
target_link_libraries(${name} PRIVATE JPEG::JPEG)
