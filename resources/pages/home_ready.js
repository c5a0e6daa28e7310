// Home page: opens the partner's intro window when asked to (intro is 1 only on the first home page of the
// run), draws the rating stars, loads the pictures as they come into view, and lets the more button scroll.
function readyFunctionScript(intro) {
    if (intro === 1)
        $('#myModal').modal('show');

    $('.rating-detail').rating({
        containerClass: 'rating-fa',
        filledStar: '<i class="rating-star">&#9733;</i>',
        emptyStar: '<i class="rating-star">&#9734;</i>',
        size: 'xs',
        step: 1,
        showClear: false,
        showCaption: false,
        readonly: true
    });

    var lazyLoad = new LazyLoad();
    lazyLoad.update();

    // The button's own onClick asks for the next sections; this only brings the button to the top.
    $('#loadMore').click(function (event) {
        event.preventDefault();
        $('html, body').animate({ scrollTop: $(this).offset().top }, 1500);
    });
}
