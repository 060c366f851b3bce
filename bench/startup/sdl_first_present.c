/* The yardstick for the game's start-up: an empty SDL2 program that opens a 640x480 window with
 * SDL's default renderer, clears it and presents once, then writes the wall-clock time of that
 * present (Unix ms) to the file named by its argument and waits to be stopped. Built and run by
 * scripts/measure_startup.sh beside the game. */
#include <SDL.h>
#include <stdio.h>
#include <sys/time.h>

int main(int argc, char** argv) {
  if (argc < 2 || SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("empty", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 640, 480, 0);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : NULL;
  if (!renderer) return 1;
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderPresent(renderer);
  struct timeval now;
  gettimeofday(&now, NULL);
  FILE* f = fopen(argv[1], "a");
  if (!f) return 1;
  fprintf(f, "first_present_unix_ms=%lld\n", (long long)now.tv_sec * 1000 + now.tv_usec / 1000);
  fclose(f);
  for (;;) {
    SDL_Event e;
    while (SDL_PollEvent(&e))
      if (e.type == SDL_QUIT) return 0;
    SDL_Delay(50);
  }
}
